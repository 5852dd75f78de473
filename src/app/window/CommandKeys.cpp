#include "app/window/CommandKeys.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/commands/KeyMap.h"
#include "app/window/TFormMainMenu.h"

namespace zel {

namespace {

QAction* firstItemRunning(const QList<QAction*>& actions, const CommandKey& key) {
    for (QAction* action : actions) {
        if (action->menu()) {
            if (QAction* found = firstItemRunning(action->menu()->actions(), key)) return found;
            continue;
        }
        if (commandOf(action) == key.command && argumentOf(action) == key.argument &&
            thenOf(action).empty())
            return action;
    }
    return nullptr;
}

}  // namespace

void bindCommandKeys(QMenuBar& menus, QWidget& nodeList) {
    for (const CommandKey& key : commandKeys()) {
        QAction* action = firstItemRunning(menus.actions(), key);
        if (!action) continue;
        action->setShortcut(QKeySequence(
            QString::fromLatin1(key.keys.data(), static_cast<qsizetype>(key.keys.size())),
            QKeySequence::PortableText));
        if (key.scope == KeyScope::NodeList) {
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            nodeList.addAction(action);
        }
    }
}

}  // namespace zel
