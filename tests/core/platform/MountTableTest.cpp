// SPDX-License-Identifier: MIT
// Which mounts the folder tree offers under "Computer".
#include "core/platform/MountTable.h"

#include "core/platform/VolumeFacts.h"
#include "core/platform/VolumeUsage.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace dirscribe {
namespace {

TEST(MountTableTest, KeepsRealVolumesOnceAndLeavesOutSystemMounts) {
    const std::string table =
        "21 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
        "22 21 0:20 / /proc rw,nosuid shared:12 - proc proc rw\n"
        "23 21 0:21 / /sys rw shared:2 - sysfs sysfs rw\n"
        "24 23 0:6 / /sys/kernel/security rw - securityfs securityfs rw\n"
        "25 21 0:5 / /dev rw shared:3 - devtmpfs udev rw\n"
        "26 25 0:23 / /dev/pts rw - devpts devpts rw\n"
        "27 21 0:24 / /run rw shared:5 - tmpfs tmpfs rw\n"
        "28 27 0:25 / /run/user/1000 rw - tmpfs tmpfs rw\n"
        "29 21 0:26 / /tmp rw shared:6 - tmpfs tmpfs rw\n"
        "30 21 8:1 / /boot/efi rw shared:7 - vfat /dev/sda1 rw\n"
        "31 21 8:17 / /media/me/USB\\040Stick rw shared:8 master:2 - exfat /dev/sdb1 rw\n"
        "32 21 0:27 / /mnt/cg rw - cgroup2 cgroup2 rw\n"
        "33 21 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
        "34 21 0:28 / /var/lib/docker/x/merged rw - overlay overlay rw\n"
        "35 21 8:18 / /home rw shared:9 - ext4 /dev/sdb2 rw\n"
        "36 21 8:18 / /home rw shared:9 - ext4 /dev/sdb2 rw\n"
        "not a mount line\n"
        "37 21 8:19 / /data rw\n"
        "38 21 8:20 / /tab\\011and\\134slash rw - xfs /dev/sdc1 rw";
    const std::vector<std::string> expected = {"/tmp", "/boot/efi", "/media/me/USB Stick", "/home",
                                               "/tab\tand\\slash"};
    EXPECT_EQ(VolumesFromMountTable(table), expected);
    EXPECT_TRUE(VolumesFromMountTable("").empty());
    EXPECT_TRUE(VolumesFromMountTable("1 2 3:4 / /x rw -").empty());
}

// A folder's volume: the deepest mount of its device above it, a bind mount elsewhere not.
TEST(MountTableTest, FindsTheMountThatHoldsAFolderAndReadsItsFacts) {
    const std::string table = "21 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                              "31 21 8:17 / /media/me/USB\\040Stick rw - exfat /dev/sdb1 rw\n"
                              "32 21 8:17 /photos /srv/photos rw - exfat /dev/sdb1 rw\n"
                              "33 31 0:40 / /media/me/USB\\040Stick/x rw - tmpfs tmpfs rw\n";
    const auto mount = [&](std::uint32_t minor, const char* path) {
        const auto found = MountHolding(table, 8, minor, path);
        return found ? found->mountPoint + " " + found->type + " " + found->source : "none";
    };
    EXPECT_EQ(mount(17, "/media/me/USB Stick/Music"), "/media/me/USB Stick exfat /dev/sdb1");
    EXPECT_EQ(mount(17, "/srv/photos"), "/srv/photos exfat /dev/sdb1");
    EXPECT_EQ(mount(2, "/home/me"), "/ ext4 /dev/sda2");
    EXPECT_EQ(mount(17, "/media/me/USB Sticky"), "none");
    EXPECT_EQ(mount(3, "/home"), "none");
    EXPECT_EQ(UdevUnescape("USB\\x20Stick\\x2fA\\x2"), "USB Stick/A\\x2");

    test::TempTree tree;
    const VolumeFacts facts = ReadVolumeFacts(tree.Root());
    EXPECT_TRUE(facts.sized);
    EXPECT_GE(facts.capacity, facts.free);
    EXPECT_FALSE(facts.fileSystem.empty()) << "the mount table knows the folder's file system";
    EXPECT_TRUE(tree.Root().starts_with(facts.mountPoint));
}

TEST(MountTableTest, TheRootComesFirst) {
    const std::vector<std::string> volumes = SystemVolumes();
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes.front(), "/");
    for (std::size_t i = 1; i < volumes.size(); ++i)
        EXPECT_NE(volumes[i], "/");
}

// The progress bar knows how much a read holds only for a whole volume.
TEST(MountTableTest, OnlyAWholeVolumeSaysHowManyEntriesItHolds) {
    test::TempTree tree;
    tree.Folder("below");
    EXPECT_EQ(EntriesInUseOfVolume(tree.Path("below")), std::nullopt);
    EXPECT_EQ(EntriesInUseOfVolume(tree.Path("missing")), std::nullopt);
    EXPECT_GT(EntriesInUseOfVolume("/").value_or(1), 0) << "a count, if the volume keeps one";
}

} // namespace
} // namespace dirscribe
