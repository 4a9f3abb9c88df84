#pragma once

#include "core/PlayerCore.h"

#include <QDialog>

#include <vector>

namespace sonavel {

class CExListCtrl;

// Program version, copyright and one row per loaded decoder plug-in.
class CDlgAboutbox : public QDialog {
    Q_OBJECT
  public:
    CDlgAboutbox(const std::vector<PluginListItem>& plugins, QWidget* parent);

    CExListCtrl& PluginList() { return *plugins_; }

  private:
    CExListCtrl* plugins_;
};

} // namespace sonavel
