// The ways an export fails: each says why, ends with a non-zero status and
// leaves nothing under the final name (and no partial file either), while a
// video already there stays as it was.
#include "export_runs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <thread>

extern char** environ;

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::TTempFolder;

void WriteText(const fs::path& file, const std::string& text) { std::ofstream(file) << text; }

std::string ReadText(const fs::path& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ExportFailure, WithoutFfmpegInPathSaysSoAndWritesNothing) {
    TTempFolder folder;
    const test::TCommandResult run =
        test::RunCommand(test::ExportCommand("--to 50 out.mp4", "/nonexistent"), folder.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("intro-export: ffmpeg was not found in PATH"), std::string::npos) << run.errors;
    EXPECT_TRUE(test::FolderContents(folder.Path()).empty());
}

TEST(ExportFailure, AnOutputThatCannotBeWrittenIsRefusedBeforeRendering) {
    TTempFolder folder;
    test::TCommandResult run = test::RunCommand(test::ExportCommand("--to 50 missing/out.mp4"), folder.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("cannot write missing/out.mp4: No such file or directory"), std::string::npos)
        << run.errors;
    fs::create_directory(folder.Path() / "taken");
    run = test::RunCommand(test::ExportCommand("--to 50 taken"), folder.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("cannot write taken: it is a folder"), std::string::npos) << run.errors;
    EXPECT_EQ(test::FolderContents(folder.Path()), std::set<std::string>{"taken"});
    EXPECT_TRUE(fs::is_empty(folder.Path() / "taken"));
}

// Puts a stand-in for ffmpeg, a shell script with the given body, into
// `folder`/bin and returns a PATH that finds it first.
std::string FakeFfmpegPath(const fs::path& folder, const std::string& script) {
    const fs::path bin = folder / "bin";
    fs::create_directory(bin);
    WriteText(bin / "ffmpeg", "#!/bin/sh\n" + script);
    fs::permissions(bin / "ffmpeg", fs::perms::owner_all);
    return bin.string() + ":" + std::getenv("PATH");
}

// Runs a short export in `folder` with a stand-in for ffmpeg; a video from
// before is in place.
test::TCommandResult ExportWithFakeFfmpeg(const fs::path& folder, const std::string& script) {
    const std::string path = FakeFfmpegPath(folder, script);
    WriteText(folder / "out.mp4", "the video from before");
    return test::RunCommand(test::ExportCommand("--to 500 out.mp4", path), folder);
}

// An ffmpeg that reads everything and writes "new video" to the file named
// last ("file:NAME").
constexpr const char* kWritingFfmpeg =
    "cat > /dev/null\ncat <&3 > /dev/null\nfor last; do :; done\necho 'new video' > \"${last#file:}\"\n";

// A device, FIFO or socket under the output name is refused as it is: the
// rename would otherwise put the video in its place.
TEST(ExportFailure, AnOutputThatIsNoRegularFileIsRefusedAndLeftAlone) {
    TTempFolder folder;
    ASSERT_EQ(mkfifo((folder.Path() / "fifo").c_str(), 0644), 0);
    test::TCommandResult run = test::RunCommand(test::ExportCommand("--to 5 fifo"), folder.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("intro-export: cannot write fifo: it is a FIFO, not a regular file"),
              std::string::npos)
        << run.errors;
    EXPECT_TRUE(fs::is_fifo(folder.Path() / "fifo"));
    EXPECT_EQ(test::FolderContents(folder.Path()), std::set<std::string>{"fifo"});
    if (geteuid() != 0) GTEST_SKIP() << "making a device node needs root; the device case was not run";
    // A copy of /dev/null, also behind a symbolic link.
    ASSERT_EQ(mknod((folder.Path() / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    fs::create_symlink("null", folder.Path() / "link");
    for (const char* name : {"null", "link"}) {
        run = test::RunCommand(test::ExportCommand(std::string("--to 5 ") + name), folder.Path());
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.errors.find("cannot write " + std::string(name) + ": it is a character device"),
                  std::string::npos)
            << run.errors;
    }
    EXPECT_TRUE(fs::is_character_file(folder.Path() / "null"));
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "link"));
    EXPECT_EQ(test::FolderContents(folder.Path()), (std::set<std::string>{"fifo", "link", "null"}));
}

// The video replaces the file a symbolic link names; the link stays a link.
TEST(ExportFailure, ASymbolicLinkIsFollowedAndKept) {
    TTempFolder folder;
    const std::string path = FakeFfmpegPath(folder.Path(), kWritingFfmpeg);
    fs::create_directory(folder.Path() / "videos");
    WriteText(folder.Path() / "videos" / "real.mp4", "the video from before");
    fs::create_symlink("videos/real.mp4", folder.Path() / "out.mp4");
    const test::TCommandResult run = test::RunCommand(test::ExportCommand("--to 5 out.mp4", path), folder.Path());
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "out.mp4"));
    EXPECT_EQ(ReadText(folder.Path() / "videos" / "real.mp4"), "new video\n");
    EXPECT_EQ(test::FolderContents(folder.Path() / "videos"), std::set<std::string>{"real.mp4"});
}

// The partial file beside a name of the longest length the folder takes
// must still fit.
TEST(ExportFailure, TheLongestFileNameIsWritten) {
    TTempFolder folder;
    const std::string path = FakeFfmpegPath(folder.Path(), kWritingFfmpeg);
    const std::string name = std::string(251, 'v') + ".mp4";
    const test::TCommandResult run = test::RunCommand(test::ExportCommand("--to 5 " + name, path), folder.Path());
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(ReadText(folder.Path() / name), "new video\n");
    EXPECT_EQ(test::FolderContents(folder.Path()), (std::set<std::string>{"bin", name}));
}

// An ffmpeg that takes some of the picture and then gives up: the export
// must notice the closed pipe rather than die of it or hang, and pass on
// what ffmpeg said.
TEST(ExportFailure, AFailingFfmpegIsReportedAndTheOldVideoKept) {
    TTempFolder folder;
    const test::TCommandResult run =
        ExportWithFakeFfmpeg(folder.Path(), "head -c 3000000 > /dev/null\necho 'encoder broke' >&2\nexit 3\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("intro-export: ffmpeg exited with status 3; it said:\nencoder broke"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(test::FolderContents(folder.Path()), (std::set<std::string>{"bin", "out.mp4"}));
    EXPECT_EQ(ReadText(folder.Path() / "out.mp4"), "the video from before");
}

// Ending with success after refusing the rest of the frames still leaves a
// video cut short, which must not replace the old one.
TEST(ExportFailure, AnFfmpegThatStopsReadingEarlyIsAFailureEvenWhenItExitsCleanly) {
    TTempFolder folder;
    const test::TCommandResult run = ExportWithFakeFfmpeg(folder.Path(), "head -c 3000000 > /dev/null\nexit 0\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("intro-export: ffmpeg stopped reading before the end"), std::string::npos)
        << run.errors;
    EXPECT_EQ(ReadText(folder.Path() / "out.mp4"), "the video from before");
}

// Ended from outside while ffmpeg is writing: the partial file goes too.
TEST(ExportFailure, AnInterruptedExportLeavesNoPartialFile) {
    TTempFolder folder;
    const std::string output = (folder.Path() / "out.mp4").string();
    const std::vector<std::string> arguments = {VESK_INTRO_EXPORT, "--to", "100000", output};
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    // Wait until frames flow into a partial file, then interrupt.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool writing = false;
    while (!writing && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        for (const auto& entry : fs::directory_iterator(folder.Path()))
            writing = writing || (entry.path().filename().string().rfind("out.mp4.part-", 0) == 0 &&
                                  fs::file_size(entry.path()) > 0);
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(writing) << "no partial file grew";
    EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(test::FolderContents(folder.Path()).empty());
}

}  // namespace
}  // namespace vesk
