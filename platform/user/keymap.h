// The keyboard layout of the platform (US English): virtual keys to scan codes and characters,
// and the VK_* names that input scripts use.
#pragma once

#include <string>
#include <string_view>

namespace brimlox::user {

// The virtual key named by "VK_ESCAPE", "A", "7" or "0x41"; 0 when the name is unknown.
int VkFromName(std::string_view name);
// The VK_* name of a key ("VK_ESCAPE", or the letter or digit itself), for messages and logs.
std::string VkName(int vk);

}  // namespace brimlox::user
