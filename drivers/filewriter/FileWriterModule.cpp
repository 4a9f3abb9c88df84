#include "drivers/filewriter/FileWriterDriver.h"
#include "output/AsioDriverModule.h"

extern "C" __attribute__((visibility("default"))) sonavel::IAsioDriver* SonavelCreateAsioDriver(const char*)
{
    return new sonavel::FileWriterDriver(sonavel::FileWriterSettings::FromEnvironment());
}
