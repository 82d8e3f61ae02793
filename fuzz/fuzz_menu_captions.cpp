// Fuzzes the popup-menu item list's two readers of outside input.
//
// Input starting with "{": the property bag of a control's item list (as a form file holds
// it). Any JSON is refused with a FormFileError or HostError, or read; what is read must write
// out, read back and write out again to the same JSON.
//
// Any other input: one item per line, the first byte of a line giving the flags (bit 0 hidden,
// 1 disabled, 2 radio, 3 checked, 4 AutoCheck) and the rest the caption. The nested menus
// built from them must nest at most 16 deep, give every shown command item the id index + 1
// exactly once, and measuring and drawing every item must leave no GDI object or menu behind.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "controls/library.h"
#include "menus/popup_internal.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/handles.h"
#include "platform/host/property_bag.h"
#include "platform/host/runtime.h"
#include "platform/user/menu.h"
#include "platform/user/user.h"

namespace {

using namespace brimlox;

void Check(bool ok) {
    if (!ok) std::abort();
}

void FuzzBag(std::string_view text) {
    host::OrderedJson j = host::OrderedJson::parse(text, nullptr, false);
    if (j.is_discarded()) return;
    try {
        host::PropertyBag bag = host::PropertyBag::FromJson(j);
        menus::PopupItemList list;
        list.ReadProperties(bag);
        host::PropertyBag first, second;
        list.WriteProperties(first);
        menus::PopupItemList again;
        again.ReadProperties(first);
        again.WriteProperties(second);
        Check(first.ToJson() == second.ToJson());
        Check(again.Items().size() == list.Items().size());
    } catch (const host::FormFileError&) {
    } catch (const host::HostError&) {
    }
}

std::vector<menus::typPopUpItem> ParseLines(std::string_view text) {
    std::vector<menus::typPopUpItem> items;
    std::size_t start = 0;
    while (start <= text.size() && items.size() < 4000) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        menus::typPopUpItem item;
        auto flags = line.empty() ? 0u : static_cast<unsigned char>(line[0]);
        item.Caption = std::string(line.empty() ? line : line.substr(1));
        item.Visible = !(flags & 1);
        item.Enabled = !(flags & 2);
        item.Radio = (flags & 4) != 0;
        item.Checked = (flags & 8) ? 1 : 0;
        item.AutoCheck = (flags & 16) != 0;
        items.push_back(std::move(item));
        start = end + 1;
    }
    return items;
}

// Walks the menus: depth, and the ids of command items (popup items report none).
void Walk(HMENU menu, int depth, std::set<UINT>& ids, std::size_t itemCount) {
    Check(depth < 16);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            Walk(sub, depth + 1, ids, itemCount);
            continue;
        }
        UINT id = GetMenuItemID(menu, i);
        if (id == 0) continue;  // a separator
        Check(id <= itemCount && ids.insert(id).second);
    }
}

void MeasureAndDraw(menus::detail::PopupBuild& build) {
    menus::detail::PopupDrawing drawing;
    drawing.Open();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(300, 40, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (std::size_t i = 0; i < build.records.size(); ++i) {
        MEASUREITEMSTRUCT mi;
        mi.CtlType = ODT_MENU;
        mi.itemID = static_cast<UINT>(i + 1);
        menus::detail::MeasureItem(build, drawing, mi);
        DRAWITEMSTRUCT di;
        di.CtlType = ODT_MENU;
        di.itemID = mi.itemID;
        di.itemState = static_cast<UINT>(i % 16) & (ODS_SELECTED | ODS_GRAYED | ODS_DISABLED | ODS_CHECKED);
        di.hDC = dc;
        di.rcItem = RECT{0, 0, 300, 22};
        menus::detail::DrawItem(build, drawing, di);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    drawing.Close();
}

void FuzzCaptions(std::string_view text) {
    std::size_t menus = user::LiveMenuCount();
    std::size_t objects = gdi::HandleTable::Instance().LiveCount();
    std::vector<menus::typPopUpItem> items = ParseLines(text);
    // The last few lines stand for window-list items, whose captions are taken as they are.
    std::size_t plainFrom = items.size() - std::min<std::size_t>(items.size(), text.size() % 3);
    menus::detail::PopupBuild build;
    Check(menus::detail::BuildPopup(items, plainFrom, build));
    std::set<UINT> ids;
    Walk(build.top, 0, ids, items.size());
    MeasureAndDraw(build);
    menus::detail::DestroyPopup(build);
    Check(user::LiveMenuCount() == menus);
    Check(gdi::HandleTable::Instance().LiveCount() == objects);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool started = (controls::RegisterLibrary(), true);
    (void)started;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!text.empty() && text[0] == '{') FuzzBag(text);
    else FuzzCaptions(text);
    return 0;
}
