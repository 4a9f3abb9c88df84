#pragma once

#include <QObject>

#include <map>

class QAction;
class QMenu;
class QMenuBar;

namespace sonavel {

// The main menu with its command ids and string-table texts; states are set by the view and the
// frame through the ids.
class CMainMenu : public QObject {
    Q_OBJECT
  public:
    explicit CMainMenu(QMenuBar& bar);

    QAction* Action(int id) const;
    QMenu* TopLevel(int position) const;
    void SetChecked(int id, bool checked);
    bool IsChecked(int id) const;
    void SetEnabled(int id, bool enabled);
    bool IsEnabled(int id) const;

  signals:
    void commandTriggered(int id);

  private:
    std::map<int, QAction*> actions_;
    QMenu* topLevel_[4] = {};
};

} // namespace sonavel
