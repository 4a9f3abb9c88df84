// The Qt application every test of this program runs in (offscreen, from the test's environment).
#include "tests/ui/QtTestEnvironment.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace sonavel::test {
namespace {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "ui_tests";
        static char* argv[] = {name, nullptr};
        application_ = new QApplication(argc, argv);
    }
    void TearDown() override
    {
        delete application_;
        application_ = nullptr;
    }

  private:
    QApplication* application_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

void SendMouse(QWidget& widget, int type, QPoint position, int button, int buttons, int modifiers)
{
    QMouseEvent event(static_cast<QEvent::Type>(type), QPointF(position),
                      QPointF(widget.mapToGlobal(position)), static_cast<Qt::MouseButton>(button),
                      static_cast<Qt::MouseButtons>(buttons), static_cast<Qt::KeyboardModifiers>(modifiers));
    QApplication::sendEvent(&widget, &event);
}

} // namespace sonavel::test
