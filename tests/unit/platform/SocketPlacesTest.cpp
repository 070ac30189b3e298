#include "platform/SocketPlaces.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

namespace xk {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

enum class Folder { Missing, Ok, OpenToOthers, OtherOwner, Symlink, File };

// Lays `folder` down in the state asked for; false when this user cannot make it so.
bool Make(const fs::path& folder, Folder state, const fs::path& ownTarget) {
    switch (state) {
    case Folder::Missing:
        return true;
    case Folder::Ok:
        return ::mkdir(folder.c_str(), 0700) == 0;
    case Folder::OpenToOthers:
        return ::mkdir(folder.c_str(), 0700) == 0 && ::chmod(folder.c_str(), 0755) == 0;
    case Folder::OtherOwner:
        return ::getuid() == 0 && ::mkdir(folder.c_str(), 0700) == 0 &&
               ::chown(folder.c_str(), 65534, 65534) == 0;
    case Folder::Symlink:
        return ::symlink(ownTarget.c_str(), folder.c_str()) == 0;
    case Folder::File:
        test::WriteFile(folder, "x");
        return true;
    }
    return false;
}

TEST(SocketPlacesTest, TheFolderIsTheUsersOwnOrNone) {
    enum class Chosen { Runtime, Fallback, None };
    struct Case {
        const char* name;
        Folder runtime;
        Folder fallback;
        Chosen chosen;
        const char* error = ""; // part of the reason, for None
    };
    const Case cases[] = {
        {"session folder", Folder::Ok, Folder::Missing, Chosen::Runtime},
        {"no session folder: fallback made", Folder::Missing, Folder::Missing, Chosen::Fallback},
        {"no session folder: fallback kept", Folder::Missing, Folder::Ok, Chosen::Fallback},
        {"session folder of another user", Folder::OtherOwner, Folder::Missing, Chosen::Fallback},
        {"session folder is a link", Folder::Symlink, Folder::Missing, Chosen::Fallback},
        {"session folder open to others", Folder::OpenToOthers, Folder::Missing, Chosen::Fallback},
        {"session folder is a file", Folder::File, Folder::Missing, Chosen::Fallback},
        {"fallback open to others", Folder::Missing, Folder::OpenToOthers, Chosen::None,
         "mode 755"},
        {"fallback is a link", Folder::Missing, Folder::Symlink, Chosen::None, "symbolic link"},
        {"fallback of another user", Folder::Missing, Folder::OtherOwner, Chosen::None,
         "belongs to user 65534"},
        {"fallback is a file", Folder::Missing, Folder::File, Chosen::None, "not a folder"},
        {"neither", Folder::OtherOwner, Folder::OtherOwner, Chosen::None, "belongs to user"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ::chmod(dir.path().c_str(), 0755); // others may enter, as /run/user and /tmp
        const fs::path own = dir / "own";
        ASSERT_EQ(::mkdir(own.c_str(), 0700), 0);
        const SocketFolderCandidates candidates{dir / "run-user-id", dir / "tmp-xk-r40-id",
                                                ::getuid()};
        if (!Make(candidates.runtime, c.runtime, own) ||
            !Make(candidates.fallback, c.fallback, own)) {
            std::printf("skipped \"%s\": only root can give a folder to another user\n", c.name);
            continue;
        }
        const SocketPlace place = ChooseSocketFolder(candidates);
        switch (c.chosen) {
        case Chosen::Runtime:
            EXPECT_EQ(place.path, candidates.runtime);
            EXPECT_FALSE(fs::exists(candidates.fallback)) << "made a folder it does not use";
            break;
        case Chosen::Fallback: {
            EXPECT_EQ(place.path, candidates.fallback);
            struct stat status {};
            ASSERT_EQ(::lstat(candidates.fallback.c_str(), &status), 0);
            EXPECT_EQ(status.st_mode & 07777, 0700u);
            break;
        }
        case Chosen::None:
            EXPECT_TRUE(place.path.empty()) << place.path;
            EXPECT_NE(place.error.find(c.error), std::string::npos) << place.error;
            break;
        }
        if (c.chosen != Chosen::None) {
            EXPECT_EQ(place.error, "");
        }
    }
}

TEST(SocketPlacesTest, TheEnvironmentPlaysNoPart) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::optional<std::string> restore =
        saved != nullptr ? std::optional<std::string>(saved) : std::nullopt;
    TempDir elsewhere;
    TempDir person;
    const std::string id = std::to_string(::getuid());

    std::optional<InstancePlaces> first;
    for (const std::optional<std::string>& value :
         {std::optional<std::string>(), std::optional<std::string>("/run/user/" + id),
          std::optional<std::string>(elsewhere.path().string()),
          std::optional<std::string>("/nonexistent"), std::optional<std::string>("")}) {
        SCOPED_TRACE(value ? "XDG_RUNTIME_DIR=" + *value : "XDG_RUNTIME_DIR unset");
        if (value) {
            ::setenv("XDG_RUNTIME_DIR", value->c_str(), 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
        const SocketFolderCandidates candidates = UserSocketFolderCandidates();
        EXPECT_EQ(candidates.runtime, fs::path("/run/user/" + id));
        EXPECT_EQ(candidates.fallback, fs::path("/tmp/xk-r40-" + id));
        EXPECT_EQ(candidates.uid, ::getuid());
        const InstancePlaces places = InstancePlacesFor(person.path(), candidates);
        ASSERT_EQ(places.socket.error, "");
        EXPECT_NE(places.socket.path.string().find(elsewhere.path().string()), 0u);
        if (!first) {
            first = places;
        }
        EXPECT_EQ(places.socket.path, first->socket.path);
        EXPECT_EQ(places.lock, person / "xk-r40.lock");
    }
    if (restore) {
        ::setenv("XDG_RUNTIME_DIR", restore->c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
}

TEST(SocketPlacesTest, EachPersonsFolderHasItsOwnSocket) {
    TempDir a;
    TempDir b;
    TempDir sockets;
    const SocketFolderCandidates candidates{sockets / "missing", sockets / "mine", ::getuid()};
    const InstancePlaces ofA = InstancePlacesFor(a.path(), candidates);
    const InstancePlaces ofB = InstancePlacesFor(b.path(), candidates);
    EXPECT_NE(ofA.socket.path, ofB.socket.path);
    EXPECT_NE(ofA.fallbackLock, ofB.fallbackLock);
    EXPECT_EQ(ofA.socket.path.parent_path(), candidates.fallback);
    EXPECT_EQ(ofA.lock, a / "xk-r40.lock");

    // The same folder however it is named.
    fs::create_symlink(a.path(), b / "link");
    EXPECT_EQ(InstanceName(b / "link"), InstanceName(a.path()));
    EXPECT_EQ(InstanceName(a / "." / ".." / a.path().filename()), InstanceName(a.path()));
    EXPECT_EQ(InstanceName(a.path()).size(), std::string("xk-r40-").size() + 12);
}

} // namespace
} // namespace xk
