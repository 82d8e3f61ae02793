#include "platform/host/form_file.h"

#include <cctype>
#include <cstdio>
#include <functional>
#include <fstream>
#include <map>
#include <set>
#include <unordered_map>
#include <sstream>

#include "platform/host/control_registry.h"
#include "platform/json/nesting.h"
#include "platform/json/numbers.h"
#include "platform/host/form.h"
#include "platform/host/keyboard.h"
#include "platform/host/picture.h"
#include "platform/host/runtime.h"
#include "platform/user/user.h"
#include "platform/user/user_handles.h"
#include "platform/kernel/atomic_file.h"
#include "platform/user/frame.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace {

constexpr const char* kFormat = "brimlox-form";
// Version 2: Width and Height are the outer size under the current frame metrics. Version 1
// files were written when a caption was one row shorter; their framed forms get that row
// back on loading, so every stored client area keeps its size.
constexpr int kVersion = 2;
constexpr int kFirstVersion = 1;
constexpr std::int64_t kMaxCoordinate = 2000000;  // twips; far beyond any screen
// Sizes are bounded lower: every window gets a backing surface of its size, and a hostile file
// must not make the host allocate gigabytes.
constexpr std::int64_t kMaxSize = 100000;
constexpr int kMaxContainerDepth = 100;
static_assert(user::UserHandleTable::kMaxSlots >= kMaxFormControls + 1000,
              "the window table must hold a window for every control of the largest form file");
constexpr std::int32_t kDefaultBack = static_cast<std::int32_t>(0x8000000Fu);
constexpr std::int32_t kDefaultFore = static_cast<std::int32_t>(0x80000012u);

// One control as the file describes it, checked but not yet created.
struct ControlRecord {
    std::string type, name, container, tag, path;
    std::int16_t index = -1;
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    std::int16_t align = 0;
    std::int16_t tabIndex = -1;  // -1: the control's place in the file
    bool tabStop = true;
    PropertyBag bag;
};

struct FormRecord {
    std::string name, caption;
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    int version = kVersion;
    PropertyBag extra;  // BackColor, ForeColor, BorderStyle, WindowState, ControlBox, MinButton, MaxButton, Font, Picture, Icon
    std::vector<ControlRecord> controls;
};

[[noreturn]] void Fail(const std::string& path, const std::string& problem) { throw FormFileError(path, problem); }

void OnlyKeys(const OrderedJson& j, const std::set<std::string>& allowed, const std::string& path) {
    for (const auto& [key, value] : j.items())
        if (!allowed.count(key)) Fail(path + "." + key, "unknown key");
}

const OrderedJson& Required(const OrderedJson& j, const std::string& key, const std::string& path) {
    if (!j.contains(key)) Fail(path + "." + key, "missing");
    return j[key];
}

std::string ReadString(const OrderedJson& j, const std::string& path) {
    if (!j.is_string()) Fail(path, "expected a string");
    return j.get<std::string>();
}

std::int64_t ReadInteger(const OrderedJson& j, const std::string& path, std::int64_t lo, std::int64_t hi) {
    if (!j.is_number_integer()) Fail(path, "expected an integer");
    if (!json::IntegerIn(j, lo, hi)) Fail(path, "out of range (" + std::to_string(lo) + " to " + std::to_string(hi) + ")");
    return j.get<std::int64_t>();
}

// A position (lo < 0) may lie far off; a size (lo == 0) is bounded by kMaxSize.
std::int32_t Coordinate(const OrderedJson& parent, const char* key, const std::string& path, std::int64_t lo) {
    std::int64_t hi = lo < 0 ? kMaxCoordinate : kMaxSize;
    return static_cast<std::int32_t>(ReadInteger(Required(parent, key, path), path + "." + key, lo, hi));
}

// Checks a value of the form's own bag: a number in range, or an object of the right type.
void CheckFormExtra(const PropertyBag& bag, const std::string& path) {
    static const std::map<std::string, std::pair<double, double>> kRanges = {
        {"BackColor", {-2147483648.0, 2147483647.0}}, {"ForeColor", {-2147483648.0, 2147483647.0}}, {"BorderStyle", {0, 5}}, {"WindowState", {0, 2}}};
    for (const auto& [key, value] : bag.Entries()) {
        std::string at = path + "." + key;
        if (key == "Font" || key == "Picture" || key == "Icon") {
            const std::string type = key == "Icon" ? "Picture" : key;
            if (!value.IsObject()) Fail(at, "expected a " + type + " object");
            auto object = value.ToObject();
            if (!object || object->TypeName() != type) Fail(at, "expected a " + type + " object");
            continue;
        }
        if (key == "ControlBox" || key == "MinButton" || key == "MaxButton") {
            if (value.Type() != VarType::Boolean) Fail(at, "expected true or false");
            continue;
        }
        auto range = kRanges.find(key);
        if (range == kRanges.end()) Fail(at, "unknown form property");
        if (!value.IsNumeric() || value.Type() == VarType::Boolean) Fail(at, "expected an integer");
        double d = value.ToDouble();
        if (d < range->second.first || d > range->second.second || d != static_cast<double>(static_cast<std::int64_t>(d)))
            Fail(at, "out of range");
    }
}

FormRecord ParseFormPart(const OrderedJson& j, const std::string& path) {
    if (!j.is_object()) Fail(path, "expected an object");
    FormRecord form;
    form.name = ReadString(Required(j, "Name", path), path + ".Name");
    if (!IsValidName(form.name)) Fail(path + ".Name", "not a valid name");
    form.caption = j.contains("Caption") ? ReadString(j["Caption"], path + ".Caption") : form.name;
    form.left = Coordinate(j, "Left", path, -kMaxCoordinate);
    form.top = Coordinate(j, "Top", path, -kMaxCoordinate);
    form.width = Coordinate(j, "Width", path, 0);
    form.height = Coordinate(j, "Height", path, 0);
    form.extra = PropertyBag::FromJson(j, path, {"Name", "Caption", "Left", "Top", "Width", "Height"});
    CheckFormExtra(form.extra, path);
    return form;
}

void ParseExtender(const OrderedJson& j, ControlRecord& rec, const std::string& path) {
    if (!j.is_object()) Fail(path, "expected an object");
    OnlyKeys(j, {"Left", "Top", "Width", "Height", "Visible", "Align", "Tag", "TabIndex", "TabStop"}, path);
    rec.left = Coordinate(j, "Left", path, -kMaxCoordinate);
    rec.top = Coordinate(j, "Top", path, -kMaxCoordinate);
    rec.width = Coordinate(j, "Width", path, 0);
    rec.height = Coordinate(j, "Height", path, 0);
    if (j.contains("Visible")) {
        if (!j["Visible"].is_boolean()) Fail(path + ".Visible", "expected true or false");
        rec.visible = j["Visible"].get<bool>();
    }
    if (j.contains("Align")) rec.align = static_cast<std::int16_t>(ReadInteger(j["Align"], path + ".Align", 0, 4));
    if (j.contains("Tag")) rec.tag = ReadString(j["Tag"], path + ".Tag");
    if (j.contains("TabIndex")) rec.tabIndex = static_cast<std::int16_t>(ReadInteger(j["TabIndex"], path + ".TabIndex", 0, 32767));
    if (j.contains("TabStop")) {
        if (!j["TabStop"].is_boolean()) Fail(path + ".TabStop", "expected true or false");
        rec.tabStop = j["TabStop"].get<bool>();
    }
}

// Tab positions: each one given lies within the form and no two controls share one. The
// positions not given are the controls' places in the file, so a file that gives some of them
// must give them all consistently; a saved form always does.
void CheckTabOrder(const std::vector<ControlRecord>& controls) {
    std::map<int, const ControlRecord*> taken;
    const auto last = static_cast<std::int64_t>(controls.size()) - 1;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlRecord& rec = controls[i];
        const int position = rec.tabIndex >= 0 ? rec.tabIndex : static_cast<int>(i);
        const std::string at = rec.path + ".extender.TabIndex";
        if (position > last) Fail(at, "out of range (0 to " + std::to_string(last) + ")");
        auto [it, fresh] = taken.emplace(position, &rec);
        if (!fresh) Fail(at, "tab position " + std::to_string(position) + " is also " + it->second->path + "'s");
    }
}

ControlRecord ParseControl(const OrderedJson& j, std::size_t i) {
    std::string path = "controls[" + std::to_string(i) + "]";
    if (!j.is_object()) Fail(path, "expected an object");
    ControlRecord rec;
    // The name goes into the path first, so every later message names the control.
    rec.name = ReadString(Required(j, "name", path), path + ".name");
    if (!IsValidName(rec.name)) Fail(path + ".name", "not a valid name");
    path += "(" + rec.name + ")";
    rec.path = path;
    OnlyKeys(j, {"type", "name", "index", "container", "extender", "bag"}, path);
    rec.type = ReadString(Required(j, "type", path), path + ".type");
    if (!IsControlType(rec.type)) Fail(path + ".type", "unknown control type \"" + rec.type + "\"");
    if (j.contains("index")) rec.index = static_cast<std::int16_t>(ReadInteger(j["index"], path + ".index", 0, 32767));
    if (j.contains("container")) rec.container = ReadString(j["container"], path + ".container");
    ParseExtender(Required(j, "extender", path), rec, path + ".extender");
    if (rec.align != 0 && !rec.container.empty()) Fail(path + ".extender.Align", "only controls on the form itself can be aligned");
    if (j.contains("bag")) rec.bag = PropertyBag::FromJson(j["bag"], path + ".bag");
    return rec;
}

// Follows each chain of containers once: a control whose depth is already known ends the walk,
// so the check is linear in the number of controls. Nesting is bounded as well: every window
// operation walks a control's chain of containers, and no designed form nests this deep.
void CheckContainerChains(const std::vector<ControlRecord>& controls,
                          const std::map<const ControlRecord*, const ControlRecord*>& containerOf) {
    std::map<const ControlRecord*, int> depthOf;  // 1 for a control on the form itself
    for (const auto& rec : controls) {
        std::vector<const ControlRecord*> chain;
        std::set<const ControlRecord*> onChain;
        const ControlRecord* k = &rec;
        for (; k && !depthOf.count(k);) {
            if (!onChain.insert(k).second) Fail(rec.path + ".container", "container cycle through \"" + k->name + "\"");
            chain.push_back(k);
            auto up = containerOf.find(k);
            k = up == containerOf.end() ? nullptr : up->second;
        }
        int depth = k ? depthOf[k] : 0;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if (++depth > kMaxContainerDepth)
                Fail((*it)->path + ".container", "containers nested deeper than " + std::to_string(kMaxContainerDepth) + " levels");
            depthOf[*it] = depth;
        }
    }
}

// Names: unique, or shared by a control array whose members have distinct indexes.
// Containers: each names a container control of the file, and no chain returns to its start.
void CheckNamesAndContainers(const std::vector<ControlRecord>& controls) {
    std::map<std::string, const ControlRecord*> byName;
    std::map<std::string, std::set<int>> arrays;
    for (const auto& rec : controls) {
        std::string key;
        for (char c : rec.name) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        auto [it, fresh] = byName.emplace(key, &rec);
        if (!fresh && (rec.index < 0 || it->second->index < 0))
            Fail(rec.path + ".name", "duplicate name \"" + rec.name + "\"");
        if (rec.index >= 0 && !arrays[key].insert(rec.index).second)
            Fail(rec.path + ".index", "duplicate index " + std::to_string(rec.index) + " in control array \"" + rec.name + "\"");
    }
    auto find = [&](const std::string& name) -> const ControlRecord* {
        std::string key;
        for (char c : name) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        auto it = byName.find(key);
        return it == byName.end() ? nullptr : it->second;
    };
    std::map<std::string, bool> isContainerType;
    std::map<const ControlRecord*, const ControlRecord*> containerOf;
    for (const auto& rec : controls) {
        if (rec.container.empty()) continue;
        const ControlRecord* c = find(rec.container);
        if (!c || c->index >= 0) Fail(rec.path + ".container", "no control \"" + rec.container + "\" to contain it");
        auto known = isContainerType.find(c->type);
        if (known == isContainerType.end()) {
            auto probe = CreateControl(c->type);
            known = isContainerType.emplace(c->type, probe && probe->IsContainer()).first;
        }
        if (!known->second) Fail(rec.path + ".container", "\"" + rec.container + "\" is not a container");
        containerOf[&rec] = c;
    }
    CheckContainerChains(controls, containerOf);
}

// Refuses values nested so deep that recursive code could overflow the stack, before any other
// check looks at them. A value inside a control is named with the control's name, as every
// other message does.
void CheckNesting(const OrderedJson& json) {
    const int limit = json::kMaxNesting;
    const OrderedJson* controls = json.is_object() && json.contains("controls") ? &json["controls"] : nullptr;
    if (!controls || !controls->is_array()) {
        if (auto at = json::FindTooDeep(json, limit, "$")) Fail(*at, json::TooDeepMessage(limit));
        return;
    }
    for (const auto& [key, value] : json.items()) {
        if (key == "controls") continue;
        if (auto at = json::FindTooDeep(value, limit - 1, key)) Fail(*at, json::TooDeepMessage(limit));
    }
    for (std::size_t i = 0; i < controls->size(); ++i) {
        const OrderedJson& c = (*controls)[i];
        std::string path = "controls[" + std::to_string(i) + "]";
        if (c.is_object() && c.contains("name") && c["name"].is_string()) path += "(" + c["name"].get<std::string>() + ")";
        if (auto at = json::FindTooDeep(c, limit - 2, path)) Fail(*at, json::TooDeepMessage(limit));
    }
}

FormRecord ParseFile(const OrderedJson& json) {
    CheckNesting(json);
    if (!json.is_object()) Fail("$", "a form file must be a JSON object");
    OnlyKeys(json, {"format", "version", "form", "controls"}, "$");
    if (ReadString(Required(json, "format", "$"), "format") != kFormat) Fail("format", std::string("expected \"") + kFormat + "\"");
    const auto version = static_cast<int>(ReadInteger(Required(json, "version", "$"), "version", kFirstVersion, kVersion));
    FormRecord form = ParseFormPart(Required(json, "form", "$"), "form");
    form.version = version;
    const OrderedJson& controls = Required(json, "controls", "$");
    if (!controls.is_array()) Fail("controls", "expected an array");
    if (controls.size() > kMaxFormControls)
        Fail("controls", std::to_string(controls.size()) + " controls, more than " + std::to_string(kMaxFormControls));
    for (std::size_t i = 0; i < controls.size(); ++i) form.controls.push_back(ParseControl(controls[i], i));
    CheckNamesAndContainers(form.controls);
    CheckTabOrder(form.controls);
    return form;
}

void ApplyFormExtra(Form& form, const PropertyBag& bag) {
    // Colours are kept as the Long with the same bits, as property bags hold OLE colours.
    form.SetBackColor(static_cast<std::uint32_t>(bag.ReadProperty("BackColor", Variant(kDefaultBack)).ToLong()));
    form.SetForeColor(static_cast<std::uint32_t>(bag.ReadProperty("ForeColor", Variant(kDefaultFore)).ToLong()));
    form.SetBorderStyle(bag.ReadProperty("BorderStyle", Variant(std::int16_t{2})).ToInteger());
    form.SetControlBox(bag.ReadProperty("ControlBox", Variant(true)).ToBool());
    form.SetMinButton(bag.ReadProperty("MinButton", Variant(true)).ToBool());
    form.SetMaxButton(bag.ReadProperty("MaxButton", Variant(true)).ToBool());
    if (auto icon = bag.ReadProperty("Icon").As<StdPicture>()) form.SetIcon(icon);
    if (auto font = bag.ReadProperty("Font").As<StdFont>()) form.SetFont(font);
    if (auto picture = bag.ReadProperty("Picture").As<StdPicture>()) form.SetPicture(picture);
}

// Puts a loaded form where its file says, within what a window can be: a version 1 framed
// form gets the caption row it lacked, a size below the frame grows to the frame (an empty
// client area), and a form entirely off the screen comes back to its nearest edge.
void PlaceLoadedForm(Form& form, const FormRecord& rec) {
    const int tpp = TwipsPerPixel();
    std::int64_t left = rec.left, top = rec.top, width = rec.width, height = rec.height;
    const auto style = static_cast<DWORD>(GetWindowLongA(form.hWnd(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongA(form.hWnd(), GWL_EXSTYLE));
    if (rec.version == 1 && (style & WS_CAPTION) == WS_CAPTION && !(exStyle & WS_EX_TOOLWINDOW)) height += tpp;
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    width = std::max<std::int64_t>(width, std::int64_t{frame.right - frame.left} * tpp);
    height = std::max<std::int64_t>(height, std::int64_t{frame.bottom - frame.top} * tpp);
    const std::int64_t screenW = std::int64_t{GetSystemMetrics(SM_CXSCREEN)} * tpp;
    const std::int64_t screenH = std::int64_t{GetSystemMetrics(SM_CYSCREEN)} * tpp;
    if (left >= screenW || left + width <= 0) left = std::clamp<std::int64_t>(left, 0, std::max<std::int64_t>(0, screenW - width));
    if (top >= screenH || top + height <= 0) top = std::clamp<std::int64_t>(top, 0, std::max<std::int64_t>(0, screenH - height));
    form.Move(static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), static_cast<std::int32_t>(width),
              static_cast<std::int32_t>(height));
}

std::string LowerName(std::string name) {
    for (char& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return name;
}

// Sites every control of the checked record on `form` (which holds none), sets containers,
// then runs Initialize and ReadProperties in file order, then Resize. The form's own
// properties are applied first. A refusal is rethrown as a FormFileError naming the record
// (and the key whose value did not convert); the caller takes down what was made.
void BuildInto(Form& form, FormRecord& rec, std::vector<LoadedBag>* bags) {
    std::string at = "form";
    const PropertyBag* reading = nullptr;  // the bag being read, to name a refused key
    std::vector<std::shared_ptr<Control>> made;  // in file order
    try {
        form.SetCaption(rec.caption);
        ApplyFormExtra(form, rec.extra);
        PlaceLoadedForm(form, rec);
        // Windows are made once each control is sited, so none has to be moved afterwards.
        // Containers are looked up through a map of the file's own names, so a form with many
        // controls loads in time linear in their number.
        std::unordered_map<std::string, Control*> byName;
        for (auto& c : rec.controls) {
            at = c.path;
            made.push_back(form.CreateUninitialised(c.type, c.name, c.index, false, true));
            if (c.index == -1) byName.emplace(LowerName(c.name), made.back().get());
        }
        for (std::size_t i = 0; i < made.size(); ++i) {
            const auto& c = rec.controls[i];
            at = c.path;
            if (!c.container.empty()) {
                auto k = byName.find(LowerName(c.container));
                made[i]->SetContainerDirect(k == byName.end() ? nullptr : k->second);
            }
            made[i]->Site(c.left, c.top, c.width, c.height, c.visible, c.align, c.tag);
            if (c.tabIndex >= 0) PlaceInTabOrder(*made[i], c.tabIndex);
            if (!c.tabStop) SetTabStop(*made[i], false);
        }
        // A container's window comes before the windows inside it, wherever it is in the file:
        // the chain of containers without a window yet is made from the outermost in (a loop,
        // not recursion, since a hostile file may nest thousands deep).
        auto makeWindow = [](Control& c) {
            std::vector<Control*> chain;
            for (Control* k = &c; k && !k->hWnd() && !k->IsWindowless(); k = k->ContainerControl()) chain.push_back(k);
            for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->CreateSurface((*it)->ContainerHwnd(), true);
        };
        for (std::size_t i = 0; i < made.size(); ++i) {
            at = rec.controls[i].path;
            makeWindow(*made[i]);
        }
        for (std::size_t i = 0; i < made.size(); ++i) {
            at = rec.controls[i].path + ".bag";
            made[i]->RunInitialize();
            reading = &rec.controls[i].bag;
            made[i]->ReadProperties(rec.controls[i].bag);
            reading = nullptr;
        }
        form.Arrange();
        for (std::size_t i = 0; i < made.size(); ++i) {
            at = rec.controls[i].path;
            made[i]->Resize();
        }
        form.SetWindowState(rec.extra.ReadProperty("WindowState", Variant(std::int16_t{0})).ToInteger());
    } catch (const HostError& e) {
        // Controls convert each value as they read it, so a value that does not convert is the
        // one read last. (Other refusals come after several reads and name what they refuse.)
        const bool conversion = e.Number() == kErrTypeMismatch || e.Number() == kErrOverflow;
        if (conversion && reading && !reading->LastKeyRead().empty()) at += "." + reading->LastKeyRead();
        throw FormFileError(at, "refused while loading: " + e.Description());
    }
    form.SetDirty(false);
    if (bags) {
        for (std::size_t i = 0; i < rec.controls.size() && i < made.size(); ++i)
            bags->push_back(LoadedBag{made[i], rec.controls[i].path, std::move(rec.controls[i].bag)});
    }
}

// Creates the checked form; any failure takes the whole form down again.
std::shared_ptr<Form> Build(FormRecord& rec, bool designMode, std::vector<LoadedBag>* bags) {
    auto form = Form::Create(rec.name, designMode);
    try {
        BuildInto(*form, rec, bags);
    } catch (...) {
        form->Discard();
        throw;
    }
    return form;
}

// Removes every control of `form` (Terminate runs, windows go), keeping the form's window.
void RemoveAllControls(Form& form) {
    while (!form.Controls().empty()) {
        auto first = form.Controls().front();
        form.Remove(*first);
    }
}

// Names the source in front of a FormFileError's path, as every message of a file does.
FormFileError WithSource(const FormFileError& e, const std::string& source) {
    return FormFileError(source + ": " + e.Path(), std::string(e.what()).substr(e.Path().size() + 2));
}

OrderedJson ControlJson(Control& c, std::size_t i) {
    std::string path = "controls[" + std::to_string(i) + "](" + c.Name() + ")";
    OrderedJson j;
    j["type"] = c.TypeName();
    j["name"] = c.Name();
    if (c.IsArrayMember()) j["index"] = c.Index();
    if (Control* k = c.ContainerControl()) j["container"] = k->Name();
    OrderedJson ext{{"Left", c.Left()}, {"Top", c.Top()}, {"Width", c.Width()}, {"Height", c.Height()}};
    if (!c.Visible()) ext["Visible"] = false;
    if (c.Align() != 0) ext["Align"] = c.Align();
    if (!c.Tag().empty()) ext["Tag"] = c.Tag();
    // The tab position is written when it is not the control's place in the file.
    if (TabIndex(c) != static_cast<std::int16_t>(i)) ext["TabIndex"] = TabIndex(c);
    if (!TabStop(c)) ext["TabStop"] = false;
    j["extender"] = std::move(ext);
    PropertyBag bag;
    c.WriteProperties(bag);
    j["bag"] = bag.ToJson(path + ".bag");
    return j;
}

}  // namespace

OrderedJson SaveFormJson(Form& form) {
    StartHost();
    // A minimised or maximised form is saved with the rectangle it goes back to.
    const RECT normal = form.NormalRectTwips();
    OrderedJson f{{"Name", form.Name()}, {"Caption", form.Caption()}, {"Left", normal.left},
                  {"Top", normal.top}, {"Width", normal.right - normal.left}, {"Height", normal.bottom - normal.top}};
    PropertyBag extra;
    extra.WriteProperty("BackColor", Variant(static_cast<std::int32_t>(form.BackColor())), Variant(kDefaultBack));
    extra.WriteProperty("ForeColor", Variant(static_cast<std::int32_t>(form.ForeColor())), Variant(kDefaultFore));
    extra.WriteProperty("BorderStyle", Variant(form.BorderStyle()), Variant(std::int16_t{2}));
    extra.WriteProperty("WindowState", Variant(form.WindowState()), Variant(std::int16_t{0}));
    extra.WriteProperty("ControlBox", Variant(form.ControlBox()), Variant(true));
    extra.WriteProperty("MinButton", Variant(form.MinButton()), Variant(true));
    extra.WriteProperty("MaxButton", Variant(form.MaxButton()), Variant(true));
    extra.WriteProperty("Font", Variant(std::static_pointer_cast<Dispatch>(form.Font())));
    if (form.Picture()->Type() != PictureType::None)
        extra.WriteProperty("Picture", Variant(std::static_pointer_cast<Dispatch>(form.Picture())));
    if (form.Icon()->Type() != PictureType::None)
        extra.WriteProperty("Icon", Variant(std::static_pointer_cast<Dispatch>(form.Icon())));
    OrderedJson extraJson = extra.ToJson("form");
    for (auto& [key, value] : extraJson.items()) f[key] = value;
    OrderedJson controls = OrderedJson::array();
    const auto& all = form.Controls();
    for (std::size_t i = 0; i < all.size(); ++i) controls.push_back(ControlJson(*all[i], i));
    return OrderedJson{{"format", kFormat}, {"version", kVersion}, {"form", std::move(f)}, {"controls", std::move(controls)}};
}

std::string SaveFormText(Form& form) { return SaveFormJson(form).dump(2) + "\n"; }

void SaveFormFile(Form& form, const std::string& path) {
    std::string text = SaveFormText(form);
    // A unique temporary name per write: two programs saving one form leave one whole file.
    std::string error;
    if (!kernel::WriteFileAtomically(path, text, &error)) throw FormFileError(path, "cannot write the file (" + error + ")");
    form.SetDirty(false);
}

std::shared_ptr<Form> LoadFormJson(const OrderedJson& json, const std::string& source, bool designMode,
                                   std::vector<LoadedBag>* bags) {
    StartHost();
    try {
        PictureBudget pictures;
        FormRecord rec = ParseFile(json);
        return Build(rec, designMode, bags);
    } catch (const FormFileError& e) {
        throw WithSource(e, source);
    }
}

void ReloadFormJson(Form& form, const OrderedJson& json, const std::string& source, std::vector<LoadedBag>* bags) {
    StartHost();
    PictureBudget pictures;
    FormRecord rec;
    try {
        rec = ParseFile(json);
    } catch (const FormFileError& e) {
        throw WithSource(e, source);
    }
    RemoveAllControls(form);
    form.SetName(rec.name);
    // The file gives pictures and a font only where they differ from a new form's, so the
    // form goes back to a new form's first: a picture it has now and the file lacks goes.
    form.SetPicture(nullptr);
    form.SetIcon(nullptr);
    form.SetFont(std::make_shared<StdFont>());
    try {
        BuildInto(form, rec, bags);
    } catch (const FormFileError& e) {
        RemoveAllControls(form);
        form.SetDirty(false);
        throw WithSource(e, source);
    }
}

std::shared_ptr<Form> LoadFormText(std::string_view text, const std::string& source, bool designMode,
                                   std::vector<LoadedBag>* bags) {
    OrderedJson json;
    try {
        json = OrderedJson::parse(text.begin(), text.end());
    } catch (const nlohmann::json::exception& e) {
        // The parser's message names the position of the error.
        throw FormFileError(source, std::string("bad JSON: ") + e.what());
    }
    return LoadFormJson(json, source, designMode, bags);
}

std::shared_ptr<Form> LoadFormFile(const std::string& path, bool designMode, std::vector<LoadedBag>* bags) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FormFileError(path, "cannot open the file");
    std::stringstream buffer;
    buffer << in.rdbuf();
    return LoadFormText(buffer.str(), path, designMode, bags);
}

}  // namespace brimlox::host
