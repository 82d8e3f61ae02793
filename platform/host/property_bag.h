// PropertyBag: where a control saves its design-time properties and reads them back. Keys
// keep the order they were first written in; a value equal to the default given with it is
// not stored (reading it back gives that default again). In a form file a bag is a JSON
// object; objects such as pictures and fonts are written by the codec registered for their
// type name.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/host/variant.h"

namespace brimlox::host {

using OrderedJson = nlohmann::ordered_json;

// A form file or property value that cannot be read: the message names the path of the bad
// value (e.g. "controls[2].bag.Caption").
class FormFileError : public std::runtime_error {
public:
    FormFileError(const std::string& path, const std::string& problem)
        : std::runtime_error(path + ": " + problem), path_(path) {}
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Saves and loads one kind of object value (pictures, fonts) inside a property bag.
struct ObjectCodec {
    std::function<OrderedJson(const Dispatch&)> save;
    // Throws FormFileError (with the given path) on bad data.
    std::function<std::shared_ptr<Dispatch>(const OrderedJson&, const std::string& path)> load;
};
void RegisterObjectCodec(const std::string& typeName, ObjectCodec codec);

class PropertyBag {
public:
    Variant ReadProperty(const std::string& name, const Variant& defaultValue = Variant()) const;
    void WriteProperty(const std::string& name, const Variant& value, const Variant& defaultValue = Variant());
    bool Contains(const std::string& name) const;
    const std::vector<std::pair<std::string, Variant>>& Entries() const { return entries_; }

    // What reading has touched: the keys no ReadProperty has asked for (in bag order), and the
    // key whose value was handed out last, so that a value the reader refuses can be named.
    std::vector<std::string> UnreadKeys() const;
    const std::string& LastKeyRead() const { return lastRead_; }

    // Throws FormFileError for an object value without a codec.
    OrderedJson ToJson(const std::string& path = "bag") const;
    // Throws FormFileError naming `path` and the key for anything that is not a valid value.
    // Keys listed in `skip` are left out (an object that holds other values besides a bag).
    static PropertyBag FromJson(const OrderedJson& json, const std::string& path = "bag",
                                std::initializer_list<std::string_view> skip = {});

private:
    std::vector<std::pair<std::string, Variant>> entries_;
    mutable std::vector<bool> read_;  // by entry; grows on the first read
    mutable std::string lastRead_;
};

}  // namespace brimlox::host
