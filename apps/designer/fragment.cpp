// Clipboard fragments of form files. A fragment is checked by loading it as a small form of its
// own (which is then discarded), so it meets exactly the rules of the host's loader.
#include "apps/designer/fragment.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "apps/designer/tolerant_load.h"
#include "platform/host/form_file.h"
#include "platform/host/host_error.h"

namespace brimlox::designer {

namespace {

using host::OrderedJson;

constexpr const char* kFragmentFormat = "brimlox-fragment";
constexpr int kFragmentVersion = 1;
constexpr std::size_t kMaxNameLength = 40;  // as the host's IsValidName allows

std::string Lower(std::string name) {
    for (char& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return name;
}

bool Inside(const host::Control& c, const std::set<const host::Control*>& chosen) {
    for (const host::Control* k = &c; k; k = k->ContainerControl())
        if (chosen.count(k)) return true;
    return false;
}

[[noreturn]] void Refuse(const std::string& source, const std::string& path, const std::string& problem) {
    throw host::FormFileError(source + ": " + path, problem);
}

// The fragment's envelope: an object with the format, the version and a non-empty array of
// records, and no other key.
const OrderedJson& FragmentRecords(const OrderedJson& json, const std::string& source) {
    if (!json.is_object()) Refuse(source, "$", "not a fragment of controls (expected a JSON object)");
    if (json.contains("form"))
        Refuse(source, "$", "a whole form, not a fragment of controls");
    if (!json.contains("format") || json["format"] != kFragmentFormat)
        Refuse(source, "format", std::string("not a fragment of controls (expected \"") + kFragmentFormat + "\")");
    if (!json.contains("version") || json["version"] != kFragmentVersion)
        Refuse(source, "version", "expected " + std::to_string(kFragmentVersion));
    for (const auto& [key, value] : json.items())
        if (key != "format" && key != "version" && key != "controls") Refuse(source, "$." + key, "unknown key");
    if (!json.contains("controls")) Refuse(source, "controls", "missing");
    const OrderedJson& records = json["controls"];
    if (!records.is_array()) Refuse(source, "controls", "expected an array");
    if (records.empty()) Refuse(source, "controls", "no controls to paste");
    return records;
}

// The next free name of `name`'s stem (its trailing digits taken off), shortened where the
// number would make it longer than a name may be.
std::string NextFreeName(const std::string& name, const std::set<std::string>& used) {
    std::string stem = name;
    while (stem.size() > 1 && std::isdigit(static_cast<unsigned char>(stem.back()))) stem.pop_back();
    for (int n = 1;; ++n) {
        const std::string number = std::to_string(n);
        std::string candidate = stem.substr(0, kMaxNameLength - number.size()) + number;
        if (!used.count(Lower(candidate))) return candidate;
    }
}

}  // namespace

OrderedJson MakeFragment(host::Form& form, std::span<const std::shared_ptr<host::Control>> controls) {
    std::set<const host::Control*> chosen;
    for (const auto& c : controls)
        if (c && c->ParentForm() == &form) chosen.insert(c.get());
    const OrderedJson state = host::SaveFormJson(form);
    const auto& all = form.Controls();
    OrderedJson records = OrderedJson::array();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!Inside(*all[i], chosen)) continue;
        OrderedJson record = state["controls"][i];
        const host::Control* container = all[i]->ContainerControl();
        if (container && !Inside(*container, chosen)) record.erase("container");
        record["extender"].erase("TabIndex");
        records.push_back(std::move(record));
    }
    return OrderedJson{{"format", kFragmentFormat}, {"version", kFragmentVersion}, {"controls", std::move(records)}};
}

OrderedJson ReadFragment(std::string_view text, const std::string& source) {
    const OrderedJson json = ParseJsonText(text, source);
    OrderedJson records = FragmentRecords(json, source);
    for (auto& record : records)
        if (record.is_object() && record.contains("extender") && record["extender"].is_object())
            record["extender"].erase("TabIndex");
    // Loading the records as a form of their own checks every one as a form file's; the form is
    // made hidden and taken down at once.
    const OrderedJson trial{{"format", "brimlox-form"},
                            {"version", 2},
                            {"form", {{"Name", "Fragment"}, {"Left", 0}, {"Top", 0}, {"Width", 4800}, {"Height", 3600}}},
                            {"controls", records}};
    auto form = host::LoadFormJson(trial, source, true);
    form->Discard();
    return records;
}

void RenameForForm(OrderedJson& records, const host::Form& form) {
    std::set<std::string> used;
    for (const auto& c : form.Controls()) used.insert(Lower(c->Name()));
    for (const auto& record : records) used.insert(Lower(record["name"].get<std::string>()));
    // One new name per old name, so the members of an array stay one array.
    std::map<std::string, std::string> renamed;
    std::set<std::string> kept;
    for (const auto& record : records) {
        const std::string name = record["name"].get<std::string>();
        const std::string key = Lower(name);
        if (renamed.count(key) || kept.count(key)) continue;
        const bool taken = std::any_of(form.Controls().begin(), form.Controls().end(),
                                       [&](const auto& c) { return Lower(c->Name()) == key; });
        if (!taken) {
            kept.insert(key);
            continue;
        }
        std::string fresh = NextFreeName(name, used);
        used.insert(Lower(fresh));
        renamed.emplace(key, std::move(fresh));
    }
    for (auto& record : records) {
        if (auto it = renamed.find(Lower(record["name"].get<std::string>())); it != renamed.end()) record["name"] = it->second;
        if (!record.contains("container")) continue;
        if (auto it = renamed.find(Lower(record["container"].get<std::string>())); it != renamed.end())
            record["container"] = it->second;
    }
}

void PlaceInContainer(OrderedJson& records, const host::Form& form, const host::Control* container) {
    if (container && (!container->IsContainer() || container->ParentForm() != &form || container->IsArrayMember()))
        throw host::HostError(host::kErrInvalidPropertyValue, "Invalid property value: not a container on this form");
    for (auto& record : records) {
        if (record.contains("container")) continue;
        if (!container) continue;
        record["container"] = container->Name();
        // Only controls on the form itself dock along its edges.
        record["extender"].erase("Align");
    }
}

}  // namespace brimlox::designer
