#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

#include "common/run_log.h"
#include "purge/backup_file_writer.h"
#include "purge/backup_run.h"
#include "purge/failure_of.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

namespace fs = std::filesystem;

void WriteBatch(const fs::path& file, const std::string& lines) {
    BackupFileWriter writer(file.string());
    writer.Append(lines);
    writer.Flush();
}

fs::perms ModeOf(const fs::path& file) { return fs::status(file).permissions() & fs::perms::all; }

// Appending and emptying across batches are shown by the purge suite's overwrite tests.
TEST(BackupFileWriter, CreatesAPrivateFileAndLeavesAnExistingOnesMode) {
    test::TempDir dir;
    const fs::path file = dir.Path() / "BackupFile.csv";
    const mode_t umask = ::umask(022);
    WriteBatch(file, "1,a\r\n");
    EXPECT_EQ(ModeOf(file), fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(file, fs::perms::group_read, fs::perm_options::add);
    WriteBatch(file, "2,b\r\n");
    ::umask(umask);
    EXPECT_EQ(ModeOf(file), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// What another local user could put where the backup goes, and what must not
// be written to; none of it may be followed, waited on or taken.
TEST(BackupFileWriter, RefusesAnythingButAPrivateRegularFile) {
    test::TempDir dir;
    const fs::path shared = dir.Path() / "shared";  // like /tmp
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    const fs::path secret = dir.Path() / "secret";
    std::ofstream(secret) << "root only\n";
    int reader = -1;
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> plant;
        const char* why;
    };
    const Case cases[] = {
        {"link", [&](const fs::path& at) { fs::create_symlink(secret, at); }, "symbolic link"},
        {"dangling", [&](const fs::path& at) { fs::create_symlink(dir.Path() / "made", at); }, "symbolic link"},
        {"fifo", [](const fs::path& at) { ::mkfifo(at.c_str(), 0666); }, "not a regular file"},
        {"read fifo",
         [&](const fs::path& at) {
             ::mkfifo(at.c_str(), 0666);
             reader = ::open(at.c_str(), O_RDONLY | O_NONBLOCK);
         },
         "not a regular file"},
        {"folder", [](const fs::path& at) { fs::create_directory(at); }, "Is a directory"},
        {"hard link", [&](const fs::path& at) { fs::create_hard_link(secret, at); }, "hard links"},
        {"other user's",
         [](const fs::path& at) {
             std::ofstream(at).flush();
             ASSERT_EQ(::chown(at.c_str(), 65534, 65534), 0);
         },
         "another user"},
    };
    for (const Case& c : cases) {
        if (std::string(c.name) == "other user's" && ::geteuid() != 0) continue;  // chown needs root
        const fs::path file = shared / (std::string(c.name) + ".csv");
        c.plant(file);
        const RunFailure failure = FailureOf([&] { WriteBatch(file, "1,a\r\n"); });
        EXPECT_EQ(failure.Number(), kFileAccess) << c.name;
        EXPECT_NE(failure.Description().find(file.string() + "\": "), std::string::npos) << failure.Description();
        EXPECT_NE(failure.Description().find(c.why), std::string::npos) << failure.Description();
    }
    EXPECT_NE(FailureOf([] { WriteBatch("/dev/null", "1,a\r\n"); }).Description().find("not a regular file"),
              std::string::npos);
    char pending = 0;
    EXPECT_LE(::read(reader, &pending, 1), 0) << "the pipe's reader got rows";
    ::close(reader);
    EXPECT_EQ(test::ReadWholeFile(secret), "root only\n");
    EXPECT_FALSE(fs::exists(dir.Path() / "made"));
    // In a folder only its owner can write to, another user's file and a hard link are the owner's choice.
    fs::permissions(shared, fs::perms::owner_all);
    WriteBatch(shared / "hard link.csv", "2,b\r\n");
    EXPECT_EQ(test::ReadWholeFile(secret), "root only\n2,b\r\n");
}

// A file-size limit makes the kernel take part of a write and refuse the rest, as a full disk does.
TEST(BackupFileWriter, WriteRefusedHalfwayLeavesNoBrokenLine) {
    test::TempDir dir;
    const fs::path file = dir.Path() / "BackupFile.csv";
    WriteBatch(file, "1,first batch\r\n");
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limit = previous;
    limit.rlim_cur = fs::file_size(file) + 10;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const RunFailure failure = FailureOf([&] {
        BackupFileWriter(file.string()).Append("2,a line longer than the room that is left\r\n");
    });
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(failure.Number(), kFileAccess);
    EXPECT_EQ(test::ReadWholeFile(file), "1,first batch\r\n");
    WriteBatch(file, "3,c\r\n");  // the next opening's lines follow a whole line
    EXPECT_EQ(test::ReadWholeFile(file), "1,first batch\r\n3,c\r\n");
}

// A file prepared for the run in a folder it may not write to takes no mark
// beside it; overwrite then appends rather than empty rows it cannot protect.
TEST(BackupRun, WithoutRoomForItsMarkOverwriteAppends) {
    if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
    test::TempDir dir;
    fs::permissions(dir.Path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const fs::path file = dir.Path() / "BackupFile.csv";
    std::ofstream(file, std::ios::binary) << "1,kept\r\n";
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    PurgeSettings settings;
    settings.filePath = dir.Path().string();
    settings.overwrite = 1;
    const RunLog log;
    struct AsNobody {
        AsNobody() { EXPECT_EQ(::seteuid(65534), 0); }
        ~AsNobody() { EXPECT_EQ(::seteuid(0), 0); }
    };
    {
        const AsNobody nobody;
        BackupRun run;
        run.FileFor(settings, SystemRunClock(), log).Append("2,new\r\n");
        run.Finish();
    }
    EXPECT_EQ(test::ReadWholeFile(file), "1,kept\r\n2,new\r\n");
}

TEST(SyncFolderOf, FlushesTheFolderOrNamesTheFailure) {
    test::TempDir dir;
    const test::ScopedCurrentDir here(dir.Path());
    const std::pair<const char*, int> cases[] = {
        {"BackupFile.csv", 0}, {"/BackupFile.csv", 0}, {"missing/BackupFile.csv", ENOENT}};
    for (const auto& [path, expected] : cases) EXPECT_EQ(SyncFolderOf(path), expected) << path;
}

}  // namespace
}  // namespace sorvane
