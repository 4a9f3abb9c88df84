#include "tests/output/OutputTestTree.h"

#include <fstream>

namespace sonavel::test {

void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

OutputTestTree::OutputTestTree()
{
    locations_.programFolder = dir_.Path() / "program";
    locations_.configFolder = dir_.Path() / "config";
    locations_.procAsound = dir_.Path() / "proc" / "asound";
    locations_.devSnd = dir_.Path() / "dev" / "snd";
    locations_.sysfsRoot = dir_.Path() / "sys";
    std::filesystem::create_directories(locations_.programFolder / "Drivers");
    std::filesystem::create_directories(locations_.procAsound);
    std::filesystem::create_directories(locations_.devSnd);
    std::filesystem::create_directories(locations_.sysfsRoot / "bus" / "usb" / "devices");
}

void OutputTestTree::AddRegistration(const std::string& stem, const std::string& description,
    const std::filesystem::path& module, bool userFolder) const
{
    const auto folder = (userFolder ? locations_.configFolder : locations_.programFolder) / "Drivers";
    std::string text = "[Driver]\nclsid={" + stem + "}\nmodule=" + module.string() + "\n";
    if (!description.empty()) {
        text += "description=" + description + "\n";
    }
    WriteText(folder / (stem + ".ini"), text);
}

void OutputTestTree::AddAlsaCard(
    int index, const std::string& name, bool playback, const std::string& usbId, bool controlNode)
{
    const std::string number = std::to_string(index);
    cards_ += " " + number + " [Card" + number + "         ]: Driver - " + name + "\n                      " +
        name + " long name\n";
    WriteText(locations_.procAsound / "cards", cards_);
    const auto card = locations_.procAsound / ("card" + number);
    std::filesystem::create_directories(card / (playback ? "pcm0p" : "pcm0c"));
    if (!usbId.empty()) {
        WriteText(card / "usbid", usbId + "\n");
    }
    if (controlNode) {
        WriteText(locations_.devSnd / ("controlC" + number), "");
    }
}

void OutputTestTree::AddUsbDevice(
    const std::string& node, const std::string& vendor, const std::string& product) const
{
    const auto device = locations_.sysfsRoot / "bus" / "usb" / "devices" / node;
    WriteText(device / "idVendor", vendor + "\n");
    WriteText(device / "idProduct", product + "\n");
}

void OutputTestTree::InstallFakeRenderer() const
{
    std::filesystem::copy_file(SONAVEL_FAKE_RENDERER, locations_.programFolder / "osmerun.so");
}

std::filesystem::path FileWriterModule()
{
    return SONAVEL_FILEWRITER_MODULE;
}

} // namespace sonavel::test
