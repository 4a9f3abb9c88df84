#include "ui/MainMenu.h"

#include "app/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/QtText.h"

#include <QActionGroup>
#include <QMenuBar>

namespace sonavel {
namespace {

struct MenuItem {
    int id; // 0: separator
    uint32_t stringId;
    const char16_t* text;
    bool checkable;
};

struct TopLevelMenu {
    uint32_t stringId;
    const char16_t* text;
    std::initializer_list<MenuItem> items;
};

QString MenuText(uint32_t stringId, const char16_t* fallback)
{
    return ToQString(HasString(stringId) ? LoadString(stringId) : std::u16string_view(fallback));
}

} // namespace

CMainMenu::CMainMenu(QMenuBar& bar) : QObject(&bar)
{
    using namespace command;
    const TopLevelMenu menus[] = {
        {200,
         u"&File",
         {{kOpen, 201, u"&Open...", false},
          {kOpenCd, 202, u"Open audio &CD...", false},
          {0, 0, nullptr, false},
          {kAddFiles, 203, u"&Add files...", false},
          {kRemove, 204, u"&Remove files", false},
          {0, 0, nullptr, false},
          {kNewPlaylist, 205, u"&New playlist", false},
          {kLoadPlaylist, 206, u"&Load playlist...", false},
          {kSavePlaylist, 207, u"&Save playlist...", false},
          {0, 0, nullptr, false},
          {kExit, 208, u"&Exit", false}}},
        {210,
         u"&Playback",
         {{kStop, 211, u"Stop", true},
          {kPause, 212, u"Pause", true},
          {kPlay, 213, u"Play", true},
          {kPrevious, 214, u"Previous", false},
          {kNext, 215, u"Next", false},
          {kShuffle, 216, u"Shuffle (playlist)", true},
          {0, 0, nullptr, false}}},
        {230,
         u"&Configure",
         {{kDevice, 231, u"&Device", false}, {kControlPanel, 232, u"Control &Panel", false}}},
        {240, u"&Help", {{kAbout, 241, u"&About", false}}},
    };
    int position = 0;
    for (const TopLevelMenu& top : menus) {
        QMenu* menu = bar.addMenu(MenuText(top.stringId, top.text));
        topLevel_[position++] = menu;
        for (const MenuItem& item : top.items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(MenuText(item.stringId, item.text));
            action->setCheckable(item.checkable);
            actions_[item.id] = action;
        }
    }
    // Playback > Order, the eighth item of Playback.
    QMenu* order = topLevel_[1]->addMenu(MenuText(220, u"Order"));
    auto* radio = new QActionGroup(order);
    const MenuItem orders[] = {{kOrderDefault, 221, u"Default", true},
                               {kOrderRepeatPlaylist, 222, u"Repeat (playlist)", true},
                               {kOrderRepeatTitle, 223, u"Repeat (title)", true}};
    for (const MenuItem& item : orders) {
        QAction* action = order->addAction(MenuText(item.stringId, item.text));
        action->setCheckable(true);
        radio->addAction(action);
        actions_[item.id] = action;
    }
    actions_[kOpen]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    for (const auto& [id, action] : actions_) {
        // The check marks are the view's to set: a click only reports the command.
        connect(action, &QAction::triggered, this, [this, commandId = id, action = action] {
            if (action->isCheckable() && action->actionGroup() == nullptr) {
                action->setChecked(!action->isChecked());
            }
            emit commandTriggered(commandId);
        });
    }
}

QAction* CMainMenu::Action(int id) const
{
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

QMenu* CMainMenu::TopLevel(int position) const
{
    return position >= 0 && position < 4 ? topLevel_[position] : nullptr;
}

void CMainMenu::SetChecked(int id, bool checked)
{
    if (QAction* action = Action(id)) {
        const QSignalBlocker blocker(action);
        action->setChecked(checked);
    }
}

bool CMainMenu::IsChecked(int id) const
{
    const QAction* action = Action(id);
    return action != nullptr && action->isChecked();
}

void CMainMenu::SetEnabled(int id, bool enabled)
{
    if (QAction* action = Action(id)) {
        action->setEnabled(enabled);
    }
}

bool CMainMenu::IsEnabled(int id) const
{
    const QAction* action = Action(id);
    return action != nullptr && action->isEnabled();
}

} // namespace sonavel
