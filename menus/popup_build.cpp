// Turning an item list into nested owner-drawn popup menus. Every item gets the command id
// index + 1 whether or not it is shown, so a chosen id always names its item.
//
// How captions the grammar leaves open are shown:
// - A caption deeper than the item before it opens that item's submenu, however many levels
//   it skips; each caption is compared with the items enclosing it, so captions that skip
//   levels alike stay siblings ("A", ">>>B", ">>>C" puts B and C in A's submenu). Nothing goes
//   deeper than level 15: the level stack holds 16 menus, deeper items join the level-15 menu.
// - An item with an empty caption that is not the empty slot has neither text nor level: it
//   is left out, and the items around it are built as if it were not there.
// - Deeper items after a separator or a column break, which cannot open a submenu, are left
//   out like the children of a hidden item; so are deeper items after a submenu that was
//   already closed (a second run of children under one item). An item whose children are
//   all hidden gets no (empty) submenu.
// - Window-list items are plain top-level items whatever their titles hold.
// - Turning an item into a submenu keeps its grayed state and its column break.
#include <algorithm>
#include <cstdint>

#include "menus/popup_internal.h"
#include "platform/user/user.h"

namespace brimlox::menus::detail {

namespace {

// One open level: its menu and what the next item appended to it needs to know.
struct Frame {
    HMENU menu = nullptr;
    int position = 0;       // items appended so far (separators too: positions index the menu)
    UINT pendingFlags = 0;  // MF_MENUBARBREAK after a "|"
    UINT ownerId = 0;       // the last item appended here, while it may still open a submenu
    UINT ownerFlags = 0;
};

// The run of adjacent radio items being built (all 0 when none is open).
struct RadioGroup {
    UINT first = 0;
    UINT checked = 0;
    UINT last = 0;
};

bool IsTitle(const std::string& text) { return !text.empty() && (text[0] == '[' || text[0] == '-'); }

std::string WithTabs(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 't') {
            out += '\t';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::shared_ptr<host::StdPicture> WithImage(const std::shared_ptr<host::StdPicture>& p) {
    return p && p->Handle() != 0 ? p : nullptr;
}

LPCSTR ItemData(UINT id) { return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(id)); }

class Builder {
public:
    Builder(const std::vector<typPopUpItem>& items, std::size_t plainFrom, PopupBuild& build)
        : items_(items), build_(build) {
        ComputeLevels(plainFrom);
    }

    void Run() {
        stack_.push_back(Frame{build_.top});
        std::size_t i = 0;
        while (i < items_.size()) {
            int level = levels_[i];
            int current = static_cast<int>(stack_.size()) - 1;
            if (level < 0) {
                ++i;
            } else if (level < current) {
                stack_.pop_back();
            } else if (level > current) {
                if (!ShowsChild(i, current) || !OpenSubmenu()) i = SkipDeeper(i, current);
            } else if (!items_[i].Visible) {
                i = SkipDeeper(i + 1, current);
            } else {
                Append(i);
                ++i;
            }
        }
        build_.topItems = stack_.front().position;
    }

private:
    // Each item's level after the rules described above; -1 for items left out. `open` holds
    // the ">" counts of the items that enclose the next one, like an indentation stack.
    void ComputeLevels(std::size_t plainFrom) {
        levels_.assign(items_.size(), -1);
        plain_.assign(items_.size(), false);
        texts_.resize(items_.size());
        std::vector<int> open;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            const std::string& caption = items_[i].Caption;
            if (caption.empty()) continue;
            CaptionParts parts{0, caption};
            if (i >= plainFrom) plain_[i] = true;
            else parts = SplitCaption(caption);
            while (!open.empty() && open.back() >= parts.level) open.pop_back();
            levels_[i] = std::min(static_cast<int>(open.size()), kMaxLevel);
            open.push_back(parts.level);
            texts_[i] = std::move(parts.text);
        }
    }

    // True when the run of deeper items from `from` on shows at least one item one level
    // below `level`: a submenu of hidden items would open empty.
    bool ShowsChild(std::size_t from, int level) const {
        for (std::size_t j = from; j < items_.size() && (levels_[j] < 0 || levels_[j] > level); ++j)
            if (levels_[j] == level + 1 && items_[j].Visible) return true;
        return false;
    }

    // The first index from `from` on that is neither deeper than `level` nor left out.
    std::size_t SkipDeeper(std::size_t from, int level) const {
        while (from < items_.size() && (levels_[from] < 0 || levels_[from] > level)) ++from;
        return from;
    }

    bool OpenSubmenu() {
        Frame& parent = stack_.back();
        if (!parent.ownerId) return false;
        HMENU sub = CreatePopupMenu();
        if (!sub) return false;
        build_.menus.push_back(sub);
        UINT id = parent.ownerId;
        UINT keep = parent.ownerFlags & (MF_GRAYED | MF_MENUBARBREAK);
        ModifyMenuA(parent.menu, id, MF_BYCOMMAND | MF_POPUP | MF_OWNERDRAW | keep, reinterpret_cast<UINT_PTR>(sub),
                    ItemData(id));
        build_.records[id - 1].submenu = sub;
        parent.ownerId = 0;
        stack_.push_back(Frame{sub});
        return true;
    }

    void Append(std::size_t i) {
        Frame& f = stack_.back();
        const std::string& text = texts_[i];
        if (plain_[i]) {
            AppendCommand(f, i, text);
        } else if (text == "-") {
            AppendMenuA(f.menu, MF_SEPARATOR, 0, nullptr);
            ++f.position;
            f.ownerId = 0;
        } else if (text == "|") {
            f.pendingFlags |= MF_MENUBARBREAK;
            f.ownerId = 0;
        } else {
            AppendCommand(f, i, WithTabs(text));
        }
    }

    // Radio items join the open group (the first one, or the first checked one, gets the
    // mark); any other item closes it and carries its own check mark.
    UINT RadioFlags(const typPopUpItem& item, bool radio, UINT id) {
        if (!radio) {
            group_ = RadioGroup{};
            return item.Checked != 0 ? MF_CHECKED : 0;
        }
        if (!group_.first) group_.first = id;
        if (item.Checked != 0) group_.checked = id;
        group_.last = id;
        return 0;
    }

    void AppendCommand(Frame& f, std::size_t i, std::string text) {
        const typPopUpItem& item = items_[i];
        const auto id = static_cast<UINT>(i + 1);
        bool title = !plain_[i] && IsTitle(text);
        bool radio = item.Radio && !title;
        UINT flags = f.pendingFlags | RadioFlags(item, radio, id);
        if (!item.Enabled) flags |= MF_GRAYED;
        OwnerDrawRecord& r = build_.records[i];
        r.position = f.position++;
        r.menu = f.menu;
        r.radio = radio;
        r.title = title;
        r.text = std::move(text);
        if (title) {
            // Title bars and titled separators are grayed and cannot be chosen.
            flags = MF_GRAYED | (f.pendingFlags & MF_MENUBARBREAK);
        } else {
            r.icon = WithImage(item.Icon);
            r.checkIcon = WithImage(item.IconCheck);
        }
        AppendMenuA(f.menu, flags | MF_OWNERDRAW, id, ItemData(id));
        f.pendingFlags = 0;
        f.ownerId = id;
        f.ownerFlags = flags;
        if (group_.first) {
            if (!group_.checked) group_.checked = group_.first;
            CheckMenuRadioItem(f.menu, group_.first, group_.last, group_.checked, MF_BYCOMMAND);
        }
    }

    const std::vector<typPopUpItem>& items_;
    PopupBuild& build_;
    std::vector<int> levels_;
    std::vector<bool> plain_;
    std::vector<std::string> texts_;
    std::vector<Frame> stack_;
    RadioGroup group_;
};

}  // namespace

CaptionParts SplitCaption(const std::string& caption) {
    CaptionParts parts;
    std::size_t last = caption.rfind('>');
    for (char c : caption)
        if (c == '>') ++parts.level;
    parts.text = last == std::string::npos ? caption : caption.substr(last + 1);
    return parts;
}

bool BuildPopup(const std::vector<typPopUpItem>& items, std::size_t plainFrom, PopupBuild& build) {
    build = PopupBuild{};
    build.records.resize(items.size());
    build.top = CreatePopupMenu();
    if (!build.top) return false;
    build.menus.push_back(build.top);
    Builder(items, plainFrom, build).Run();
    return true;
}

void DestroyPopup(PopupBuild& build) {
    for (auto it = build.menus.rbegin(); it != build.menus.rend(); ++it) DestroyMenu(*it);
    build = PopupBuild{};
}

const OwnerDrawRecord* FindRecord(const PopupBuild& build, UINT itemId) {
    if (itemId >= 1 && itemId <= build.records.size()) return &build.records[itemId - 1];
    for (const OwnerDrawRecord& r : build.records)
        if (r.submenu && HandleValue(r.submenu) == itemId) return &r;
    return nullptr;
}

}  // namespace brimlox::menus::detail
