#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/MainView.h"

namespace zav::test {

// A main window without a window: the controls are plain fields, every dialog is recorded and
// answered from a script.
class ScriptedView final : public IMainView {
public:
    struct Shown {
        std::string text;
        DialogKind kind;
        bool operator==(const Shown&) const = default;
    };

    std::string path;
    bool checkJahr = true;
    bool trafik = true;
    bool gastro = false;

    // Answers for the message dialogs in order; kResultOk when the script has run out.
    std::deque<int> answers;
    // Called while a message dialog is open, before it is answered.
    std::function<void(const Shown&)> whileShown;
    std::vector<Shown> shown;

    // The file dialog's answer, and the initial folders it was opened with.
    std::optional<std::string> dialogChoice;
    std::vector<std::string> dialogFolders;
    int closeRequests = 0;

    std::string DatabasePath() const override { return path; }
    void SetDatabasePath(const std::string& newPath) override { path = newPath; }
    bool CheckJahrChecked() const override { return checkJahr; }
    bool TrafikSelected() const override { return trafik; }
    bool GastroSelected() const override { return gastro; }

    int ShowMessage(const std::string& text, DialogKind kind) override {
        shown.push_back({text, kind});
        if (whileShown) {
            whileShown(shown.back());
        }
        if (answers.empty()) {
            return kResultOk;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<std::string> ExecuteOpenDialog(const std::string& initialFolder) override {
        dialogFolders.push_back(initialFolder);
        return dialogChoice;
    }

    void CloseWindow() override { ++closeRequests; }
};

}  // namespace zav::test
