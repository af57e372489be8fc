#include "ui/qt/MenuBuilder.h"

#include <QAction>
#include <QMenu>

#include <vector>

#include "ui/qt/QtText.h"

namespace tessaro::ui::qt {

std::map<CommandId, QAction*> BuildMenu(QMenu& menu, std::span<const MenuEntry> entries,
                                        const std::function<void(CommandId)>& onCommand) {
  std::map<CommandId, QAction*> actions;
  std::vector<QMenu*> open{&menu};
  for (const MenuEntry& entry : entries) {
    QMenu& current = *open.back();
    switch (entry.kind) {
      case MenuEntryKind::kSubmenuBegin:
        open.push_back(current.addMenu(ToQString(keys::Marked(entry.caption, entry.accessKey))));
        break;
      case MenuEntryKind::kSubmenuEnd:
        if (open.size() > 1) open.pop_back();
        break;
      case MenuEntryKind::kSeparator:
        current.addSeparator();
        break;
      case MenuEntryKind::kItem: {
        QAction* action =
            current.addAction(ToQString(keys::Marked(entry.caption, entry.accessKey)));
        const CommandId id = entry.id;
        if (entry.checkable) {
          action->setCheckable(true);
          // Qt flips a checkable item before telling us; the handler flips
          // the mark itself, so undo Qt's flip first.
          QObject::connect(action, &QAction::triggered, action, [action, id, onCommand] {
            action->setChecked(!action->isChecked());
            onCommand(id);
          });
        } else {
          QObject::connect(action, &QAction::triggered, action, [id, onCommand] { onCommand(id); });
        }
        actions[id] = action;
        break;
      }
    }
  }
  return actions;
}

}  // namespace tessaro::ui::qt
