// Tolerant loading: the loader names the first refused value by its JSON path; the part of the
// file that path names is left out (a bag value, an optional extender value, a container
// reference, or the whole control record) and the file is loaded again.
#include "apps/designer/tolerant_load.h"

#include <charconv>
#include <filesystem>
#include <optional>

#include "platform/host/bag_check.h"
#include "platform/host/control_registry.h"
#include "platform/host/form_file.h"

namespace brimlox::designer {

namespace {

using host::OrderedJson;

constexpr std::int32_t kNewFormLeft = 1200;
constexpr std::int32_t kNewFormTop = 1200;
constexpr std::int32_t kNewFormWidth = 4800;
constexpr std::int32_t kNewFormHeight = 3600;

// The path of a loader error without the source in front of it.
std::string PathInFile(const host::FormFileError& e, const std::string& source) {
    const std::string prefix = source + ": ";
    return e.Path().rfind(prefix, 0) == 0 ? e.Path().substr(prefix.size()) : e.Path();
}

// The first key of a dotted path ("Font.data" gives "Font").
std::string FirstKey(std::string_view rest) {
    const auto end = rest.find_first_of(".[");
    return std::string(rest.substr(0, end));
}

// A path inside a control record: "controls[3](cmdOk).bag.Caption" gives 3 and ".bag.Caption".
struct RecordPath {
    std::size_t index = 0;
    std::string rest;
};

std::optional<RecordPath> SplitRecordPath(const std::string& path) {
    constexpr std::string_view kStart = "controls[";
    if (path.rfind(kStart, 0) != 0) return std::nullopt;
    const auto close = path.find(']', kStart.size());
    if (close == std::string::npos) return std::nullopt;
    RecordPath at;
    const char* first = path.data() + kStart.size();
    auto [end, ec] = std::from_chars(first, path.data() + close, at.index);
    if (ec != std::errc() || end != path.data() + close) return std::nullopt;
    std::size_t restStart = close + 1;
    if (restStart < path.size() && path[restStart] == '(') {
        const auto nameEnd = path.find(')', restStart);
        if (nameEnd == std::string::npos) return std::nullopt;
        restStart = nameEnd + 1;
    }
    at.rest = path.substr(restStart);
    return at;
}

// Erases `key` from `object` when it is there; true if it was.
bool EraseKey(OrderedJson& object, const std::string& key) {
    return object.is_object() && object.erase(key) > 0;
}

// Leaves out the part of a control record that `rest` names; returns what was done.
std::string LeaveOutOfRecord(OrderedJson& controls, const RecordPath& at) {
    OrderedJson& record = controls[at.index];
    constexpr std::string_view kBag = ".bag.", kExtender = ".extender.";
    if (at.rest.rfind(kBag, 0) == 0 && record.contains("bag") &&
        EraseKey(record["bag"], FirstKey(std::string_view(at.rest).substr(kBag.size()))))
        return "the value is left out";
    if (at.rest == ".container" && EraseKey(record, "container")) return "the control is placed on the form";
    if (at.rest.rfind(kExtender, 0) == 0 && record.contains("extender")) {
        const std::string key = FirstKey(std::string_view(at.rest).substr(kExtender.size()));
        const bool optional = key != "Left" && key != "Top" && key != "Width" && key != "Height";
        if (optional && EraseKey(record["extender"], key)) return "the value is left out";
    }
    controls.erase(at.index);
    return "the control is left out";
}

// Leaves out (or sets back to its default) a value of the form's own part.
std::optional<std::string> LeaveOutOfForm(OrderedJson& form, const std::string& key) {
    if (!form.is_object()) return std::nullopt;
    if (key == "Name") form["Name"] = "Form1";
    else if (key == "Left" || key == "Top") form[key] = key == "Left" ? kNewFormLeft : kNewFormTop;
    else if (key == "Width" || key == "Height") form[key] = key == "Width" ? kNewFormWidth : kNewFormHeight;
    else if (!EraseKey(form, key)) return std::nullopt;
    return key == "Name" ? "the form is named Form1" : "the default is used";
}

// Where each record of the mended file stood in the file itself, so that every message names
// a control by its place in the file the user has.
class RecordOrigins {
public:
    explicit RecordOrigins(const OrderedJson& json) {
        if (!json.is_object() || !json.contains("controls") || !json["controls"].is_array()) return;
        for (std::size_t i = 0; i < json["controls"].size(); ++i) origin_.push_back(i);
    }
    void Erase(std::size_t index) {
        if (index < origin_.size()) origin_.erase(origin_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    // `path` with its record index as it was in the file.
    std::string InFile(const std::string& path) const {
        auto at = SplitRecordPath(path);
        if (!at || at->index >= origin_.size()) return path;
        const auto close = path.find(']');
        return "controls[" + std::to_string(origin_[at->index]) + path.substr(close);
    }

private:
    std::vector<std::size_t> origin_;
};

// Leaves out the part of `json` that a loader error's `path` names. Nothing when the path names
// something without which the text is no form (the format, the version, the controls array).
std::optional<std::string> LeaveOut(OrderedJson& json, const std::string& path, RecordOrigins& origins) {
    if (auto at = SplitRecordPath(path)) {
        if (!json.contains("controls")) return std::nullopt;
        OrderedJson& controls = json["controls"];
        if (!controls.is_array() || at->index >= controls.size()) return std::nullopt;
        const std::size_t before = controls.size();
        std::string done = LeaveOutOfRecord(controls, *at);
        if (controls.size() < before) origins.Erase(at->index);
        return done;
    }
    if (path.rfind("form.", 0) == 0 && json.contains("form"))
        return LeaveOutOfForm(json["form"], FirstKey(std::string_view(path).substr(5)));
    if (path.rfind("$.", 0) == 0) {
        const std::string key = path.substr(2);
        if (key != "format" && key != "version" && key != "form" && key != "controls" && EraseKey(json, key))
            return "the key is left out";
    }
    return std::nullopt;
}

// The bag warnings of `brimlox check` for every control loaded.
void AddBagWarnings(const std::vector<host::LoadedBag>& bags, const std::string& source, const RecordOrigins& origins,
                    std::vector<std::string>& problems) {
    for (const auto& loaded : bags) {
        if (!loaded.control) continue;
        for (const auto& w : host::CheckBag(*loaded.control, loaded.bag))
            problems.push_back("warning: " + source + ": " + origins.InFile(loaded.path) + ".bag." + w.key + ": " + w.problem);
    }
}

}  // namespace

OrderedJson ParseJsonText(std::string_view text, const std::string& source) {
    try {
        return OrderedJson::parse(text.begin(), text.end());
    } catch (const nlohmann::json::exception& e) {
        // The parser's message names the position of the error.
        throw host::FormFileError(source, std::string("bad JSON: ") + e.what());
    }
}

TolerantLoad LoadTolerantly(OrderedJson json, const std::string& source) {
    TolerantLoad result;
    RecordOrigins origins(json);
    for (int leftOut = 0;; ++leftOut) {
        std::vector<host::LoadedBag> bags;
        try {
            result.form = host::LoadFormJson(json, source, true, &bags);
            AddBagWarnings(bags, source, origins, result.problems);
            return result;
        } catch (const host::FormFileError& e) {
            const std::string path = PathInFile(e, source);
            const std::string problem = std::string(e.what()).substr(e.Path().size() + 2);
            const std::string named = source + ": " + origins.InFile(path) + ": " + problem;
            if (leftOut == kMaxLeftOut)
                throw host::FormFileError(source, "more than " + std::to_string(kMaxLeftOut) +
                                                      " problems; the first is " + result.problems.front());
            auto done = LeaveOut(json, path, origins);
            if (!done) throw host::FormFileError(source + ": " + origins.InFile(path), problem);
            result.problems.push_back(named + " (" + *done + ")");
        }
    }
}

std::shared_ptr<host::Form> NewEmptyForm(const std::string& path) {
    std::string name = std::filesystem::path(path).stem().string();
    if (!host::IsValidName(name)) name = "Form1";
    auto form = host::Form::Create(name, true);
    form->SetCaption(name);
    form->Move(kNewFormLeft, kNewFormTop, kNewFormWidth, kNewFormHeight);
    form->SetDirty(false);
    return form;
}

}  // namespace brimlox::designer
