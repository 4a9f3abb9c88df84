#pragma once

#include <QObject>

namespace sonavel {

// Tells when the system is about to suspend, from logind's PrepareForSleep signal on the system
// bus. Without a system bus nothing is registered and nothing is ever reported.
class CSuspendWatcher : public QObject {
    Q_OBJECT
  public:
    explicit CSuspendWatcher(QObject* parent = nullptr);

    bool IsRegistered() const { return registered_; }
    void Unregister();

  signals:
    void suspending();

  private slots:
    void OnPrepareForSleep(bool sleeping);

  private:
    bool registered_ = false;
};

} // namespace sonavel
