// Clipboard fragments: some controls of a form, with the controls they contain, in the form
// file's own control-record format (docs/form-file-format.md, "Fragments"):
//   {"format": "brimlox-fragment", "version": 1, "controls": [ ...records... ]}
// Copying writes one; pasting reads and checks the whole fragment before anything changes,
// gives colliding names the next free ones and puts the top records into the target container.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/host/form.h"
#include "platform/host/property_bag.h"

namespace brimlox::designer {

// The fragment holding `controls` and everything inside them, in the form's z-order. Records
// whose container is not copied lose their container; tab positions are left out, since they
// belong to the whole form.
host::OrderedJson MakeFragment(host::Form& form, std::span<const std::shared_ptr<host::Control>> controls);

// The control records of a fragment text, checked as the form-file loader checks a file (types,
// names, containers, every value read by its control). Throws host::FormFileError naming
// `source` and what is wrong.
host::OrderedJson ReadFragment(std::string_view text, const std::string& source);

// Renames the records whose names `form` already uses (or which another record took first) to
// the next free name of the same stem: "cmdOk" becomes "cmdOk1", "Command1" becomes "Command2".
// A control array keeps one name for all its members; references to a renamed container follow.
void RenameForForm(host::OrderedJson& records, const host::Form& form);

// Puts the records that no other record contains into `container` (nullptr: the form itself).
// Throws host::HostError when `container` is not a container control of `form`.
void PlaceInContainer(host::OrderedJson& records, const host::Form& form, const host::Control* container);

}  // namespace brimlox::designer
