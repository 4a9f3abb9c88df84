#include "ui/QELDSDPlayerApp.h"
#include "ui/QtText.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    std::vector<std::u16string> arguments;
    for (const QString& argument : QApplication::arguments()) {
        arguments.push_back(sonavel::ToU16(argument));
    }
    sonavel::CQELDSDPlayerApp program;
    return program.Run(arguments);
}
