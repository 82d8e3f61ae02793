// Shared between the files of the popup display: the parsed caption, the owner-draw table and
// the menus built from an item list (popup_build.cpp), and the fonts, device contexts and
// measurements that WM_MEASUREITEM and WM_DRAWITEM use (popup_measure_draw.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/metrics/system_metrics.h"
#include "menus/popup_item_list.h"
#include "platform/user/winuser.h"

namespace brimlox::menus::detail {

// The deepest level a caption reaches: levels 0 to 15, 16 menus on the stack.
constexpr int kMaxLevel = 15;

// A caption split at ">": the number of ">" is the level, the text after the last one the
// item's text.
struct CaptionParts {
    int level = 0;
    std::string text;
};
CaptionParts SplitCaption(const std::string& caption);

// What the measure and draw handlers know about one command id (index + 1).
struct OwnerDrawRecord {
    int position = 0;  // the item's position inside its menu
    HMENU menu = nullptr;
    HMENU submenu = nullptr;
    std::shared_ptr<host::StdPicture> icon;       // only pictures that hold an image
    std::shared_ptr<host::StdPicture> checkIcon;
    bool radio = false;
    bool title = false;  // a title bar ("[") or a titled separator ("-"), shown grayed
    std::string text;  // level prefix removed, backslash-t turned into a tab
};

// The menus of one popup and its owner-draw table (one record per item, indexed by id - 1).
struct PopupBuild {
    HMENU top = nullptr;
    std::vector<HMENU> menus;  // every menu created, in creation order
    std::vector<OwnerDrawRecord> records;
    // The number of items appended to the top menu; 0 means there is nothing to show.
    int topItems = 0;
};

// Builds the nested menus from `items`. Items from `plainFrom` on (the window list) are
// top-level items whose caption is their text as it stands. False when the top menu could not
// be created.
bool BuildPopup(const std::vector<typPopUpItem>& items, std::size_t plainFrom, PopupBuild& build);
// Destroys every menu of the build, deepest first, and clears it.
void DestroyPopup(PopupBuild& build);
// The record of a measure or draw message's item id: ids count from 1, popup items report
// their submenu handle instead.
const OwnerDrawRecord* FindRecord(const PopupBuild& build, UINT itemId);

// The drawing objects and measurements of an open popup.
struct PopupDrawing {
    HDC memoryDc = nullptr;
    HGDIOBJ oldFont = nullptr;
    std::unique_ptr<foundation::CUlvaroMetrics> metrics;
    HFONT itemFont = nullptr;
    HFONT titleFont = nullptr;
    int checkWidth = 16;
    int checkHeight = 16;
    int itemHeight = 22;
    int shortcutWidth = 0;

    // Reads the check-mark size, makes the contexts and fonts and measures the item height.
    void Open();
    // Puts the old font back and frees the contexts and fonts.
    void Close();
};

// The top menu of the popup being shown, or 0 (for tests and tools that look at an open menu).
HMENU OpenPopupMenuHandle();

void MeasureItem(const PopupBuild& build, PopupDrawing& drawing, MEASUREITEMSTRUCT& mi);
void DrawItem(const PopupBuild& build, PopupDrawing& drawing, const DRAWITEMSTRUCT& di);

}  // namespace brimlox::menus::detail
