#pragma once

#include <functional>
#include <string>

namespace zav {

// The error box's text for an error's message: a full stop is appended unless the message is
// empty or already ends in a character whose code is at most that of the full stop.
std::string ErrorBoxText(const std::string& message);

// The system's lower case of a UTF-8 text, for every letter it knows.
using LowerCase = std::function<std::string(const std::string& text)>;

// The application title, which also titles the error box: the executable's file name without its
// folder, cut at its first full stop, every character after the first in lower case
// ("C:\Prog\ZavCoronaUpdate.exe" gives "Zavcoronaupdate").
std::string ApplicationTitle(const std::string& executablePath, const LowerCase& lowerCase);

// Runs one event handler the way the event loop does: an error that escapes it is turned into the
// error box's text and handed to showErrorBox, and nothing escapes. Gives true when the handler
// ran to its end.
bool RunEventHandler(const std::function<void()>& handler,
                     const std::function<void(const std::string& text)>& showErrorBox);

}  // namespace zav
