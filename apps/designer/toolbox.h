// Toolbox: the designer's list of every registered control type, with the pointer first,
// built from the host's standard controls on a form of the designer. Choosing a type tells the
// pick handler, which hands it to the design surface; the toolbox goes back to the pointer
// after each placement.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/form.h"
#include "platform/host/standard_controls.h"
#include "platform/user/winuser.h"

namespace brimlox::designer {

class Toolbox {
public:
    Toolbox(std::shared_ptr<host::Form> form, RECT area);
    ~Toolbox();
    Toolbox(const Toolbox&) = delete;
    Toolbox& operator=(const Toolbox&) = delete;

    // The registered control types that a form may hold, in name order (without the pointer).
    const std::vector<std::string>& Types() const { return types_; }
    // Called with the chosen type name, or "" for the pointer.
    void SetPickHandler(std::function<void(const std::string&)> handler) { onPick_ = std::move(handler); }
    // Chooses a type as a click on it does ("" for the pointer); an unknown type is ignored.
    void Pick(const std::string& typeName);
    const std::string& Picked() const { return picked_; }
    // The list the toolbox shows (the pointer on line 0, then Types()).
    host::ListBox& List() { return *list_; }

private:
    void ListClicked();

    std::shared_ptr<host::Form> form_;
    std::shared_ptr<host::ListBox> list_;
    int clickConnection_ = 0;
    bool picking_ = false;
    std::vector<std::string> types_;
    std::string picked_;
    std::function<void(const std::string&)> onPick_;
};

}  // namespace brimlox::designer
