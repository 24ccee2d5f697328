// The system clipboard, read on demand through the desktop's clipboard tool.
#pragma once
#include <functional>
#include <optional>
#include <string>

namespace PLAT {

// The clipboard's text as UTF-8: through "wl-paste --no-newline" when WAYLAND_DISPLAY is set, else
// through "xclip -o -selection clipboard" when DISPLAY is set. nullopt when there is no display,
// no tool, no text, or the tool does not answer within a short time.
std::optional<std::string> readClipboard();

// Tests replace the system clipboard with a function of their own (an empty function restores it).
void setClipboardReader(std::function<std::optional<std::string>()> reader);

}  // namespace PLAT
