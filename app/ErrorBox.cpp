#include "app/ErrorBox.h"

#include <algorithm>
#include <cstddef>
#include <exception>
#include <new>

namespace zav {
namespace {

// Length in bytes of the UTF-8 sequence that starts with lead.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

}  // namespace

std::string ErrorBoxText(const std::string& message) {
    // A character beyond ASCII ends in a byte above 0x7F, so comparing the last byte is enough.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        return message + '.';
    }
    return message;
}

std::string ApplicationTitle(const std::string& executablePath, const LowerCase& lowerCase) {
    const std::size_t folderEnd = executablePath.find_last_of("/\\");
    std::string name =
        folderEnd == std::string::npos ? executablePath : executablePath.substr(folderEnd + 1);
    name = name.substr(0, name.find('.'));
    if (name.empty()) {
        return name;
    }
    const std::size_t first =
        std::min(SequenceLength(static_cast<unsigned char>(name[0])), name.size());
    return name.substr(0, first) + lowerCase(name.substr(first));
}

bool RunEventHandler(const std::function<void()>& handler,
                     const std::function<void(const std::string& text)>& showErrorBox) {
    std::string message;
    try {
        handler();
        return true;
    } catch (const std::bad_alloc&) {
        message = "Zu wenig Arbeitsspeicher";
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "Ein unbekannter Fehler ist aufgetreten";
    }
    showErrorBox(ErrorBoxText(message));
    return false;
}

}  // namespace zav
