#pragma once

#include "app/WindowLayout.h"

// The main window as designed at 96 dpi, which both front ends build and their tests read.
namespace zav::design {

enum class Kind { Label, Edit, PushButton, RadioButton, CheckBox };

struct Control {
    const char* name;
    Kind kind;
    const char* caption;  // UTF-8
    LayoutRect rect;      // a label is sized to its caption and keeps only the position
    Anchors anchors;
    bool startsGroup;  // opens a group for the arrow keys (and closes the one before)
    bool shown = true;
};

inline constexpr char kTitle[] = "ZAV - Corona Update";
inline constexpr LayoutSize kClient{509, 261};
inline constexpr int kFontPixels = 16;  // Arial

// Indexes into kControls.
enum Index { kLabel, kPath, kBrowse, kTrafik, kGastro, kUpdate, kClose, kCheckJahr, kCount };

inline constexpr Anchors kLeftTop{true, true, false, false};
inline constexpr Anchors kLeftTopRight{true, true, true, false};
inline constexpr Anchors kTopRight{false, true, true, false};
inline constexpr Anchors kLeftBottom{true, false, false, true};
inline constexpr Anchors kRightBottom{false, false, true, true};

// Creation order, which is the tab order: the check box comes last although it stands above the
// radio buttons.
// clang-format off
inline constexpr Control kControls[kCount] = {
    {"lblFilePath", Kind::Label, "Datei Pfad", {10, 26, 75, 18}, kLeftTop, false},
    {"edtDatabasePath", Kind::Edit, "", {8, 45, 458, 26}, kLeftTopRight, true},
    {"btnBrowse", Kind::PushButton, "...", {475, 45, 26, 25}, kTopRight, false},
    {"rbTrafik", Kind::RadioButton, "Update Trafik Daten", {27, 134, 174, 17}, kLeftTop, true},
    {"rbGastro", Kind::RadioButton, "Update Gastro Daten", {27, 168, 174, 17}, kLeftTop, false,
     false},
    {"btnUpdate", Kind::PushButton, "Update", {8, 223, 85, 30}, kLeftBottom, true},
    {"btnClose", Kind::PushButton, "Schließen", {416, 223, 85, 30}, kRightBottom, false},
    {"ckbCheckJahr", Kind::CheckBox, "Überprüfe ob BH Jahr 2020 ist", {27, 90, 261, 17}, kLeftTop,
     true},
};
// clang-format on

}  // namespace zav::design
