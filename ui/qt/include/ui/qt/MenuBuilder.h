#pragma once

#include <functional>
#include <map>
#include <span>

#include "ui/Commands.h"

class QAction;
class QMenu;

namespace tessaro::ui::qt {

// Fills a popup menu from one of the command tables; each item calls
// onCommand with its id. Returns the item actions by id.
std::map<CommandId, QAction*> BuildMenu(QMenu& menu, std::span<const MenuEntry> entries,
                                        const std::function<void(CommandId)>& onCommand);

}  // namespace tessaro::ui::qt
