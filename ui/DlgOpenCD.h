#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace sonavel {

// The CD drives that hold an audio CD; the user picks one.
class CDlgOpenCD : public QDialog {
    Q_OBJECT
  public:
    // Audio tracks on the disc in a drive (0 for none, no disc or a data disc).
    using TrackCounter = std::function<int(const std::u16string& device)>;

    // drives: the CD device paths in the order to list them.
    CDlgOpenCD(std::vector<std::u16string> drives, TrackCounter countTracks, QWidget* parent);

    // The optical drives of this machine, /dev/sr0 upwards.
    static std::vector<std::u16string> FindCdDrives();
    // Opens the drive as an audio CD source and counts its tracks.
    static int CountAudioTracks(const std::u16string& device);

    const std::u16string& ChosenDrive() const { return chosen_; }
    QListWidget& DriveList() { return *list_; }
    bool IsOkEnabled() const;
    void ClickOk();

  private:
    std::vector<std::u16string> listed_;
    std::u16string chosen_;
    QListWidget* list_;
    QPushButton* ok_;
};

} // namespace sonavel
