// Fuzzes the layout restore routine: the first line of the input is the stored "Form" value,
// each further line a "Window"n value, restored onto a form with a splitter, a bar, a frame
// array and labels. Any text must either apply or be skipped: the form stays within the size
// bounds, a restored form record is a usable placement, the restore flag is clear afterwards,
// every window goes with the form, and what the writer formats it reads back unchanged.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "controls/library.h"
#include "foundation/persistence/layout_restore.h"
#include "foundation/persistence/persist_format.h"
#include "foundation/persistence/persist_state.h"
#include "platform/desktop/desktop.h"
#include "platform/host/control_registry.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"
#include "platform/host/type_builder.h"
#include "platform/user/user.h"

namespace {

using namespace brimlox;
using foundation::PersistKind;

// A container whose properties are whatever was set last, standing in for the splitter and bar.
class FuzzDock : public host::Control {
public:
    explicit FuzzDock(std::string type) : type_(std::move(type)) {}
    std::string TypeName() const override { return type_; }
    const host::TypeInfo* GetTypeInfo() const override {
        static const auto info = host::TypeBuilder<FuzzDock>("FuzzDock")
                                     .With([](host::TypeInfo& t) {
                                         for (const char* name : {"AutoAdjust", "AutoAdjustForm", "FloatWidth", "FloatHeight",
                                                                  "FixedX", "FixedY", "Vertical", "Dock", "Docked",
                                                                  "FullSize", "Minimized"}) {
                                             host::MemberInfo m;
                                             m.name = name;
                                             m.kind = host::MemberKind::Property;
                                             m.get = [name](host::Dispatch& d, std::span<host::Variant>) {
                                                 return static_cast<FuzzDock&>(d).values[name];
                                             };
                                             m.let = [name](host::Dispatch& d, std::span<host::Variant> a) {
                                                 static_cast<FuzzDock&>(d).values[name] = a.back();
                                                 return host::Variant();
                                             };
                                             t.Add(std::move(m));
                                         }
                                     })
                                     .Build();
        return info.get();
    }
    bool IsContainer() const override { return true; }
    std::map<std::string, host::Variant> values;

private:
    std::string type_;
};

PersistKind Classify(const host::Control& c) {
    if (c.TypeName() == "FuzzSplit") return PersistKind::SplitWindow;
    if (c.TypeName() == "FuzzBar") return PersistKind::DreamBar;
    return PersistKind::Other;
}

std::shared_ptr<host::Form> MakeForm() {
    auto form = host::Form::Create("frmFuzz");
    auto bar = form->Add("FuzzBar", "dbr");
    form->Add("FuzzSplit", "spl");
    form->Add("FuzzSplit", "splTool", bar.get());
    auto frame = form->Add("Frame", "fra", nullptr, 0);
    form->Add("Frame", "fra", nullptr, 1);
    form->Add("Label", "lbl", frame.get());
    form->Add("Label", "lblArr", nullptr, 1);
    return form;
}

// Formatting what was read must give text that reads back to the same text.
void CheckRoundTrip(std::string_view line, bool isForm) {
    std::string once = isForm ? (foundation::ParseFormValue(line) ? foundation::FormatFormValue(*foundation::ParseFormValue(line)) : "")
                              : (foundation::ParseWindowValue(line) ? foundation::FormatWindowValue(*foundation::ParseWindowValue(line)) : "");
    if (once.empty()) return;
    std::string twice = isForm ? foundation::FormatFormValue(*foundation::ParseFormValue(once))
                               : foundation::FormatWindowValue(*foundation::ParseWindowValue(once));
    if (twice != once) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    controls::RegisterLibrary();
    // A coarse scale keeps the largest allowed form small in pixels.
    desktop::DesktopSettings screen;
    screen.width = 640;
    screen.height = 480;
    screen.twipsPerPixel = 150;
    desktop::Desktop::Instance().Configure(screen);
    host::RegisterControlType("FuzzSplit", [] { return std::make_shared<FuzzDock>("FuzzSplit"); });
    host::RegisterControlType("FuzzBar", [] { return std::make_shared<FuzzDock>("FuzzBar"); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::pair<std::string, std::string>> section;
    for (std::size_t line = 0, start = 0; start <= text.size() && line <= 32; ++line) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view value = text.substr(start, end - start);
        CheckRoundTrip(value, line == 0);
        section.emplace_back(line == 0 ? "Form" : "Window" + std::to_string(line), std::string(value));
        start = end + 1;
    }
    std::size_t windows = user::LiveWindowCount();
    {
        auto form = MakeForm();
        foundation::typPersistForm record;
        foundation::SavedAutoAdjust saved;
        bool restored = foundation::ApplyLayout(form, true, section, record, saved, Classify);
        if (foundation::LayoutRestoring()) std::abort();
        if (form->Width() < 0 || form->Width() > foundation::kMaxLayoutSize || form->Height() > foundation::kMaxLayoutSize)
            std::abort();
        if (restored && (record.Width <= 0 || record.Height <= 0 || record.Left < 0 || record.Top < 0 ||
                         record.State < 0 || record.State > 2 || !std::isfinite(record.Left)))
            std::abort();
        saved.GiveBack();
        form->Discard();
    }
    if (user::LiveWindowCount() != windows) std::abort();
    return 0;
}
