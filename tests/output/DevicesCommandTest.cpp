#include "tests/output/OutputTestTree.h"
#include "tools/DevicesCommand.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace sonavel {
namespace {

struct CommandRun {
    int status;
    std::string out;
};

CommandRun Devices(const std::vector<std::string>& args, const test::OutputTestTree& tree)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunDevicesCommand(args, tree.Locations(), out, err);
    return {status, out.str()};
}

TEST(DevicesCommandTest, ListsOfferedDevicesOrEveryLoadableName)
{
    test::OutputTestTree tree;
    tree.AddRegistration("writer", "File Writer", test::FileWriterModule());
    tree.AddRegistration("long", "A Driver Whose Name Is Longer Than Thirty-Two", test::FileWriterModule());
    tree.InstallFakeRenderer();

    EXPECT_EQ(Devices({}, tree).out, "WASAPI: KESTRANE DAC\n");
    EXPECT_EQ(Devices({"--debug"}, tree).out, "WASAPI: Speakers (KESTRANE USB)\nWASAPI: KESTRANE DAC\n");
    tree.AddUsbDevice("3-1", "1234", "5678");
    EXPECT_EQ(Devices({"--debug"}, tree).out,
        "A Driver Whose Name Is Longer Than Thirty-Two\nFile Writer\n"
        "WASAPI: Speakers (KESTRANE USB)\nWASAPI: KESTRANE DAC\n");
    const CommandRun all = Devices({"--all"}, tree);
    EXPECT_EQ(all.status, 0);
    EXPECT_EQ(all.out,
        "A Driver Whose Name Is Longe...\nFile Writer\nWASAPI: Speakers (KESTRANE USB)\n"
        "WASAPI: KESTRANE DAC\nWASAPI: HDMI Output\n");
    EXPECT_EQ(Devices({"--loud"}, tree).status, 2);
}

} // namespace
} // namespace sonavel
