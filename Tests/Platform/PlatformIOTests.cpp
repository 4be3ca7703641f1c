#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "Graphix/Graphix.hpp"
#include "IO/FileTypeManager.hpp"
#include "IO/Location.hpp"
#include "PlatformTestSupport.hpp"

namespace {

using PlatformTest::TempDir;

// What is at the path: "none", "folder", or a file's mode and contents; "link to nothing" for a link
// whose file is missing.
std::string At(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return "none";
    if (stat(path.c_str(), &st) != 0)
        return "link to nothing";
    if (!S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? "folder" : "other";
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o ", static_cast<unsigned>(st.st_mode & 07777));
    std::ifstream in(path, std::ios::binary);
    return mode + std::string(std::istreambuf_iterator<char>(in), {});
}

// Root may write into any folder; a case about a read-only folder wants what a user gets.
struct WithoutRootOverride {
    __user_cap_header_struct head{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2] = {}, before[2] = {};
    WithoutRootOverride()
    {
        syscall(SYS_capget, &head, before);
        std::copy(before, before + 2, caps);
        caps[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        syscall(SYS_capset, &head, caps);
    }
    ~WithoutRootOverride() { syscall(SYS_capset, &head, before); }
};

// Replacing a file through a link, keeping its mode, refusing a FIFO and leaving the old file when a write
// is abandoned are shown by the export tests.
TEST(IOFile, WritesReplaceTheFileTheTargetNamesOnlyWhenClosed)
{
    TempDir dir;
    const mode_t umask = ::umask(027);  // new files: 0640
    for (const char* name : {"old.txt", "full.txt"}) {
        std::ofstream(dir / name) << "old";
        chmod((dir / name).c_str(), 0604);
    }
    mkdir((dir / "sub").c_str(), 0755);
    mkdir((dir / "ro").c_str(), 0555);
    symlink("other/none.txt", (dir / "dangling.txt").c_str());
    // The file's status and Open's answer, and what is at the target afterwards; the file object dropped
    // without Close, or a write that fails on a disk that takes only `limit` bytes.
    struct Case { const char* name; std::string target; IO::File::OnNotFound onNotFound; GSErrCode status, open;
                  std::string after; bool close = true; GSErrCode write = NoError; UInt64 limit = 0; };
    const Case cases[] = {
        {"replace", dir / "old.txt", IO::File::Fail, NoError, NoError, "0604 new"},
        {"create", dir / "fresh.txt", IO::File::Create, NoError, NoError, "0640 new"},
        {"missing with Fail", dir / "none.txt", IO::File::Fail, IO::FileNotFound, IO::FileNotFound, "none"},
        {"abandoned create", dir / "gone.txt", IO::File::Create, NoError, NoError, "none", false},
        {"a folder", dir / "sub", IO::File::Create, IO::AccessDenied, IO::AccessDenied, "folder"},
        {"no such folder", dir / "nowhere/x.txt", IO::File::Create, IO::FileNotFound, IO::FileNotFound, "none"},
        {"a link to nothing", dir / "dangling.txt", IO::File::Create, NoError, IO::AccessDenied, "link to nothing"},
        {"a read-only folder", dir / "ro/x.txt", IO::File::Create, NoError, IO::AccessDenied, "none"},
        {"a full disk", dir / "full.txt", IO::File::Fail, NoError, NoError, "0604 old", true, IO::IOError, 2},
    };
    for (const auto& c : cases) {
        {
            WithoutRootOverride user;
            IO::LimitFileSize(c.limit);
            IO::File f(IO::Location(GS::UniString(c.target)), c.onNotFound);
            EXPECT_EQ(f.GetStatus(), c.status) << c.name;
            GSErrCode open = f.Open(IO::File::WriteEmptyMode);
            EXPECT_EQ(open, c.open) << c.name;
            if (open == NoError) {
                EXPECT_EQ(f.WriteBin("new", 3), c.write) << c.name;
                UInt64 length = 0;
                EXPECT_EQ(f.GetDataLength(&length), NoError);
                EXPECT_EQ(length, c.write == NoError ? 3u : 2u) << c.name;
                if (c.close) {
                    EXPECT_EQ(f.Close(), c.write == NoError ? NoError : IO::IOError) << c.name;
                }
            }
            IO::LimitFileSize(0);
        }
        EXPECT_EQ(At(c.target), c.after) << c.name;
    }
    ::umask(umask);
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path))
        left.insert(entry.path().lexically_relative(dir.path));
    // No temporary is left behind.
    EXPECT_EQ(left, (std::set<std::string>{"dangling.txt", "fresh.txt", "full.txt", "old.txt", "ro", "sub"}));

    IO::File in(IO::Location(GS::UniString(dir / "old.txt")));
    char buf[8] = {};
    GS::USize got = 0;
    EXPECT_EQ(in.ReadBin(buf, 3, &got), IO::NotOpen);
    ASSERT_EQ(in.Open(IO::File::ReadMode), NoError);
    EXPECT_EQ(in.WriteBin("x", 1), IO::AccessDenied);
    EXPECT_EQ(in.ReadBin(buf, 5, &got), IO::IOError);  // only 3 there
    EXPECT_EQ(std::string(buf, got), "new");
    EXPECT_EQ(in.Close(), NoError);
    IO::File missing(IO::Location(GS::UniString(dir / "missing")), IO::File::Create);
    EXPECT_EQ(missing.Open(IO::File::ReadMode), IO::FileNotFound);

    for (const auto& [p, e] : {std::pair{dir / "old.txt", true}, {dir / "sub", true}, {dir / "zz", false}, {"", false}})
        EXPECT_EQ(IO::fileSystem.Contains(IO::Location(GS::UniString(p))), e) << p;
    GS::UniString path;
    EXPECT_EQ(IO::Location().ToPath(&path), IO::BadLocation);
}

TEST(FileTypes, SearchAndAddInTheRootGroup)
{
    FTM::FileTypeManager a("DGTestTypes"), b("DGTestTypes"), other("DGOtherTypes");
    FTM::FileType sql("SQL Dump", "sql");
    EXPECT_EQ(a.SearchForType(sql, a.GetRootGroup()), FTM::UnknownType);
    FTM::TypeID id = a.AddType(sql, a.GetRootGroup());
    EXPECT_NE(id, FTM::UnknownType);
    EXPECT_EQ(b.SearchForType(FTM::FileType("Other text", "SQL"), b.GetRootGroup()), id);
    EXPECT_EQ(other.SearchForType(sql, other.GetRootGroup()), FTM::UnknownType);
    FTM::TypeID xlsx = other.AddType(FTM::FileType("Excel Workbook", "xlsx"), other.GetRootGroup());
    GS::UniString d, e;  // a type's texts are shown by the file dialogs' filters
    EXPECT_TRUE(FTM::FileTypeManager::GetType(xlsx, &d, &e) && !FTM::FileTypeManager::GetType(-4, &d, &e));
}

// Fills, plain text, lines, and gradient and pattern polygons are shown by the palette and swatch drawings.
TEST(GraphixRecording, EveryOperationHasOneStableLine)
{
    Graphix::CellDrawing d;
    Graphix::NativeContext ctx(&d);
    Graphix::Font bold;
    bold.style = 1;
    bold.size = 10.5;
    ctx.SetFont(bold);
    ctx.SetForeColor(Gfx::Color(0, 0, 0, 128));
    ctx.DrawPlainText("Total \"x\"", 0, 0, 100, 18, 1);
    ctx.FrameRect(1, 1, 9, 9);
    ctx.BeginPolygon();
    ctx.MoveTo(12, 15);
    ctx.LineTo(18, 15);
    ctx.LineTo(18, 21);
    ctx.EndPolygon(nullptr);
    ctx.DrawImage(32550, 0, 0, 16, 16);
    std::string ops;
    for (const auto& op : d.ops)
        ops += op.ToString() + "\n";
    EXPECT_EQ(ops, "text 0,0 100x18 \"Total \\\"x\\\"\" Arial 10.5 bold align 1 #00000080\n"
                   "frame 1,1-9,9 #00000080\npolygon 12,15 18,15 18,21 solid #00000080\nimage 32550 0,0-16,16\n");
}

}  // namespace
