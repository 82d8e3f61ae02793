#include "platform/host/property_bag.h"

#include "platform/json/nesting.h"
#include "platform/json/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace brimlox::host {

namespace {

std::map<std::string, ObjectCodec>& Codecs() {
    static std::map<std::string, ObjectCodec> codecs;
    return codecs;
}

OrderedJson ValueToJson(const Variant& v, const std::string& path) {
    switch (v.Type()) {
        case VarType::Empty: return nullptr;
        case VarType::Boolean: return v.ToBool();
        case VarType::Byte:
        case VarType::Integer:
        case VarType::Long: return v.ToLong();
        case VarType::Single: return OrderedJson{{"single", v.ToSingle()}};
        case VarType::Double: return OrderedJson{{"double", v.ToDouble()}};
        case VarType::String: return v.ToString();
        case VarType::Object: {
            auto object = v.ToObject();
            if (!object) return nullptr;
            auto it = Codecs().find(object->TypeName());
            if (it == Codecs().end())
                throw FormFileError(path, "a " + object->TypeName() + " object cannot be saved in a form file");
            return OrderedJson{{"object", object->TypeName()}, {"data", it->second.save(*object)}};
        }
    }
    return nullptr;
}

Variant NumberFromJson(const OrderedJson& j, const std::string& path) {
    if (j.is_number_integer() || j.is_number_unsigned()) {
        // Checked as written: an unsigned value above INT64_MAX must not wrap into range.
        if (!json::IntegerIn(j, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()))
            throw FormFileError(path, "integer out of the 32-bit range");
        return Variant(static_cast<std::int32_t>(j.get<std::int64_t>()));
    }
    double d = j.get<double>();
    if (!std::isfinite(d)) throw FormFileError(path, "number is not finite");
    return Variant(d);
}

Variant TaggedFromJson(const OrderedJson& j, const std::string& path) {
    if (j.size() == 1 && j.contains("single") && j["single"].is_number()) {
        double d = j["single"].get<double>();
        if (!std::isfinite(d) || std::fabs(d) > std::numeric_limits<float>::max())
            throw FormFileError(path, "single value out of range");
        return Variant(static_cast<float>(d));
    }
    if (j.size() == 1 && j.contains("double") && j["double"].is_number()) return NumberFromJson(j["double"], path).ToDouble();
    if (j.size() == 2 && j.contains("object") && j["object"].is_string() && j.contains("data")) {
        std::string type = j["object"].get<std::string>();
        auto it = Codecs().find(type);
        if (it == Codecs().end()) throw FormFileError(path, "unknown object type \"" + type + "\"");
        return Variant(it->second.load(j["data"], path + ".data"));
    }
    throw FormFileError(path, "not a property value (expected a string, number, Boolean, null, "
                              "{\"single\": n}, {\"double\": n} or {\"object\": type, \"data\": ...})");
}

Variant ValueFromJson(const OrderedJson& j, const std::string& path) {
    if (j.is_null()) return Variant();
    if (j.is_boolean()) return Variant(j.get<bool>());
    if (j.is_string()) return Variant(j.get<std::string>());
    if (j.is_number()) return NumberFromJson(j, path);
    if (j.is_object()) return TaggedFromJson(j, path);
    throw FormFileError(path, "arrays are not property values");
}

}  // namespace

void RegisterObjectCodec(const std::string& typeName, ObjectCodec codec) { Codecs()[typeName] = std::move(codec); }

Variant PropertyBag::ReadProperty(const std::string& name, const Variant& defaultValue) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].first != name) continue;
        if (read_.size() < entries_.size()) read_.resize(entries_.size(), false);
        read_[i] = true;
        lastRead_ = name;
        return entries_[i].second;
    }
    return defaultValue;
}

std::vector<std::string> PropertyBag::UnreadKeys() const {
    std::vector<std::string> unread;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (i >= read_.size() || !read_[i]) unread.push_back(entries_[i].first);
    return unread;
}

bool PropertyBag::Contains(const std::string& name) const {
    for (const auto& entry : entries_)
        if (entry.first == name) return true;
    return false;
}

void PropertyBag::WriteProperty(const std::string& name, const Variant& value, const Variant& defaultValue) {
    bool isDefault = value == defaultValue;
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->first != name) continue;
        if (isDefault) {
            const auto at = static_cast<std::size_t>(it - entries_.begin());
            if (at < read_.size()) read_.erase(read_.begin() + static_cast<std::ptrdiff_t>(at));
            entries_.erase(it);
        }
        else it->second = value;
        return;
    }
    if (!isDefault) entries_.emplace_back(name, value);
}

OrderedJson PropertyBag::ToJson(const std::string& path) const {
    OrderedJson out = OrderedJson::object();
    for (const auto& [key, value] : entries_) out[key] = ValueToJson(value, path + "." + key);
    return out;
}

PropertyBag PropertyBag::FromJson(const OrderedJson& json, const std::string& path,
                                  std::initializer_list<std::string_view> skip) {
    if (!json.is_object()) throw FormFileError(path, "a property bag must be a JSON object");
    if (auto at = json::FindTooDeep(json, json::kMaxNesting, path)) throw FormFileError(*at, json::TooDeepMessage(json::kMaxNesting));
    PropertyBag bag;
    for (const auto& [key, value] : json.items()) {
        if (std::find(skip.begin(), skip.end(), key) != skip.end()) continue;
        if (key.empty()) throw FormFileError(path, "empty property name");
        bag.entries_.emplace_back(key, ValueFromJson(value, path + "." + key));
    }
    return bag;
}

}  // namespace brimlox::host
