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

// Lower case of the letters of ASCII and Latin-1, the letters an executable's name may hold;
// other characters stay as they are.
void AppendLowerCase(std::string& out, const std::string& text, std::size_t pos, std::size_t len) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (len == 1) {
        out += (lead >= 'A' && lead <= 'Z') ? static_cast<char>(lead + ('a' - 'A')) : text[pos];
        return;
    }
    if (len == 2 && lead == 0xC3) {
        // U+00C0..U+00DE without the multiplication sign U+00D7 map to U+00E0..U+00FE.
        const auto trail = static_cast<unsigned char>(text[pos + 1]);
        if (trail >= 0x80 && trail <= 0x9E && trail != 0x97) {
            out += text[pos];
            out += static_cast<char>(trail + 0x20);
            return;
        }
    }
    out.append(text, pos, len);
}

}  // namespace

std::string ErrorBoxText(const std::string& message) {
    // A character beyond ASCII ends in a byte above 0x7F, so comparing the last byte is enough.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        return message + '.';
    }
    return message;
}

std::string ApplicationTitle(const std::string& executablePath) {
    const std::size_t folderEnd = executablePath.find_last_of("/\\");
    std::string name =
        folderEnd == std::string::npos ? executablePath : executablePath.substr(folderEnd + 1);
    name = name.substr(0, name.find('.'));

    std::string title;
    for (std::size_t pos = 0; pos < name.size();) {
        const std::size_t len =
            std::min(SequenceLength(static_cast<unsigned char>(name[pos])), name.size() - pos);
        if (pos == 0) {
            title.append(name, 0, len);
        } else {
            AppendLowerCase(title, name, pos, len);
        }
        pos += len;
    }
    return title;
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
