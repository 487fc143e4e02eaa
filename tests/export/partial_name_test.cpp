// The partial file beside the final one: its name, and the mode the video
// ends up with.
#include "export/partial_output.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vesk {
namespace {

namespace fs = std::filesystem;

struct stat StatusOf(const fs::path& file) {
    struct stat status {};
    stat(file.c_str(), &status);
    return status;
}

// Makes a video under `name` through a partial file, as the export does.
void ReplaceWithVideo(const fs::path& name) {
    TPartialOutput output(name.string());
    std::ofstream(output.Path()) << "new video";
    output.Commit();
}

// A group other than the user's own that the user may give a file: any for
// root, else one of the user's other groups; -1 when there is none.
gid_t AnotherGroup() {
    if (geteuid() == 0) return getegid() + 4321;
    std::vector<gid_t> groups(static_cast<size_t>(getgroups(0, nullptr)) + 1);
    groups.resize(static_cast<size_t>(getgroups(static_cast<int>(groups.size()), groups.data())));
    for (gid_t group : groups)
        if (group != getegid()) return group;
    return static_cast<gid_t>(-1);
}

TEST(PartialOutput, TheVideoKeepsThePermissionsAndGroupOfTheFileItReplaces) {
    test::TTempFolder folder;
    const fs::path video = folder.Path() / "out.mp4";
    for (mode_t mode : {0600, 0444, 0640, 0664}) {
        std::ofstream(video) << "the video from before";
        ASSERT_EQ(chmod(video.c_str(), mode), 0);
        ReplaceWithVideo(video);
        EXPECT_EQ(StatusOf(video).st_mode & 07777, mode) << std::oct << mode;
    }
    const gid_t group = AnotherGroup();
    if (group == static_cast<gid_t>(-1)) GTEST_SKIP() << "the user has no other group to give the file";
    ASSERT_EQ(chown(video.c_str(), static_cast<uid_t>(-1), group), 0);
    ReplaceWithVideo(video);
    EXPECT_EQ(StatusOf(video).st_gid, group);
}

// 0666 less the umask, as any program's new file: group-writable here.
TEST(PartialOutput, ANewVideoGetsTheUsualModeOfANewFile) {
    test::TTempFolder folder;
    const mode_t mask = umask(002);
    ReplaceWithVideo(folder.Path() / "out.mp4");
    umask(mask);
    EXPECT_EQ(StatusOf(folder.Path() / "out.mp4").st_mode & 07777, 0664u);
}

TEST(PartialFileName, IsShortenedToFitWithoutSplittingACharacter) {
    EXPECT_EQ(PartialFileName("intro.mp4", "42", 255), "intro.mp4.part-42");
    const std::string longName = std::string(250, 'a') + ".mp4";
    const std::string partial = PartialFileName(longName, "123456", 255);
    EXPECT_EQ(partial.size(), 255u);
    EXPECT_EQ(partial.substr(0, 10), longName.substr(0, 10));
    EXPECT_EQ(partial.substr(partial.size() - 12), ".part-123456");
    // Two long names that differ only at their end still get different names.
    EXPECT_NE(PartialFileName(std::string(250, 'a') + ".mkv", "123456", 255), partial);
    // "é" is two bytes; a cut through it would leave half a character.
    std::string accents;
    for (int i = 0; i < 120; ++i) accents += "\xc3\xa9";
    const std::string cut = PartialFileName(accents, "1", 40);
    EXPECT_LE(cut.size(), 40u);
    EXPECT_EQ(cut.find('~') % 2, 0u) << cut;
}

}  // namespace
}  // namespace vesk
