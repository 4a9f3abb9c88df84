#include "output/AsioDriverList.h"
#include "output/AsioDriverRegistry.h"
#include "tests/output/OutputTestTree.h"

#include <gtest/gtest.h>

#include <string>

namespace sonavel {
namespace {

std::string NameOf(const AsioDriverList& list, int32_t id, int32_t size = 128)
{
    std::string buffer(static_cast<size_t>(size), '\0');
    EXPECT_EQ(list.GetName(id, buffer.data(), size), 0);
    return buffer.c_str();
}

TEST(AsioDriverListTest, ListsCardsWithPlaybackAndExistingRegistrationsInOrder)
{
    test::OutputTestTree tree;
    tree.AddAlsaCard(0, "HDA Intel PCH", true);
    tree.AddAlsaCard(1, "Capture Only", false);
    tree.AddAlsaCard(2, "USB Audio", true, "0b7e:4a31");
    tree.AddAlsaCard(3, "Unplugged", true, {}, false);
    tree.AddRegistration("b-writer", "File Writer", test::FileWriterModule());
    tree.AddRegistration("a-keyname", "", test::FileWriterModule(), true);
    tree.AddRegistration("c-gone", "Deleted Driver", tree.Locations().programFolder / "missing.so");

    const AsioDriverList list(tree.Locations());
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(NameOf(list, 0), "HDA Intel PCH");
    EXPECT_EQ(NameOf(list, 1), kKestraneDriverName);
    EXPECT_EQ(NameOf(list, 2), "File Writer");
    EXPECT_EQ(NameOf(list, 3), "a-keyname");
}

TEST(AsioDriverListTest, GetNameCutsLongNamesAndChecksArguments)
{
    test::OutputTestTree tree;
    const std::string name31(31, 'x');
    const std::string name40 = "0123456789012345678901234567890123456789";
    tree.AddRegistration("a", name31, test::FileWriterModule());
    tree.AddRegistration("b", name40, test::FileWriterModule());
    const AsioDriverList list(tree.Locations());

    EXPECT_EQ(NameOf(list, 0, 32), name31);
    EXPECT_EQ(NameOf(list, 1, 32), name40.substr(0, 28) + "...");
    EXPECT_EQ(NameOf(list, 1), name40);
    char buffer[32];
    EXPECT_EQ(list.GetName(0, nullptr, 32), kDriverListNoBuffer);
    EXPECT_EQ(list.GetName(2, buffer, 32), kDriverListNoSuchId);
    EXPECT_EQ(list.GetName(-1, buffer, 32), kDriverListNoSuchId);
}

TEST(AsioDriverListTest, OpenRefusesADriverAlreadyOpenAndAFailedCreationCanBeRetried)
{
    test::OutputTestTree tree;
    tree.AddRegistration("a", "File Writer", test::FileWriterModule());
    test::WriteText(tree.Locations().programFolder / "broken.so", "not a module");
    tree.AddRegistration("b", "Broken", tree.Locations().programFolder / "broken.so");
    AsioDriverList list(tree.Locations());
    ASSERT_EQ(list.Count(), 2);

    ASSERT_NE(list.Open(0), nullptr);
    EXPECT_EQ(list.CurrentIndex(), 0);
    EXPECT_EQ(list.Open(0), nullptr);
    list.ReleaseCurrent();
    EXPECT_EQ(list.CurrentIndex(), -1);
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_NE(list.Open(0), nullptr);

    EXPECT_EQ(list.Open(1), nullptr);
    EXPECT_EQ(list.Open(1), nullptr);
}

TEST(AsioDriverListTest, EmptyWithoutAnySource)
{
    test::OutputTestTree tree;
    EXPECT_EQ(AsioDriverList(tree.Locations()).Count(), 0);
    EXPECT_EQ(AsioDriverList(OutputLocations{}).Count(), 0);
}

TEST(AsioDriverRegistryTest, RegistrationFileNeedsClassAndModule)
{
    const auto parsed = ParseDriverRegistration(
        "; comment\n[Driver]\n CLSID = {1}\r\nModule=x.so\ndevice=hw:3\n", "key", "/folder");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->clsid, "{1}");
    EXPECT_EQ(parsed->module, "/folder/x.so");
    EXPECT_EQ(parsed->serverPath, "/folder/x.so");
    EXPECT_EQ(parsed->device, "hw:3");
    EXPECT_TRUE(parsed->description.empty());
    EXPECT_FALSE(ParseDriverRegistration("clsid={1}\n", "key", "/folder"));
    EXPECT_FALSE(ParseDriverRegistration("module=x.so\nclsid=\n", "key", "/folder"));
    EXPECT_FALSE(ParseDriverRegistration("", "key", "/folder"));
}

} // namespace
} // namespace sonavel
