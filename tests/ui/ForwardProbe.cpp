// A later start of the program as the single-instance test needs it: tries to become the running
// instance under the given name and, when another one runs, forwards the text to it.
// Exit codes: 0 forwarded, 1 forwarding failed, 3 this process became the running instance.
#include "ui/SingleInstance.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[1]);
    const QString text = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    sonavel::CSingleInstance instance(name);
    if (instance.Listen()) {
        return 3;
    }
    return sonavel::CSingleInstance::Forward(name, text.toStdU16String()) ? 0 : 1;
}
