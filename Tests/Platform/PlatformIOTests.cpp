#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "DG/DGUser.hpp"
#include "DG/DGUtility.hpp"
#include "DGTestSupport.hpp"
#include "Graphix/Graphix.hpp"
#include "IO/FileTypeManager.hpp"
#include "IO/Location.hpp"

namespace {

struct TempDir {
    std::string path = std::filesystem::temp_directory_path() / "dgio.XXXXXX";
    TempDir() { path = mkdtemp(path.data()); }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// What is at the path: "none", "folder", "fifo", or a file's mode and contents; "link " first for a
// link, "link to nothing" for one whose file is missing.
std::string At(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return "none";
    const std::string link = S_ISLNK(st.st_mode) ? "link " : "";
    if (stat(path.c_str(), &st) != 0)
        return link + "to nothing";
    if (!S_ISREG(st.st_mode))
        return link + (S_ISDIR(st.st_mode) ? "folder" : S_ISFIFO(st.st_mode) ? "fifo" : "other");
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o ", static_cast<unsigned>(st.st_mode & 07777));
    return link + mode + ReadAll(path);
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

TEST(IOFile, WritesReplaceTheFileTheTargetNamesOnlyWhenClosed)
{
    TempDir dir;
    const mode_t umask = ::umask(027);  // new files: 0640
    mkdir((dir / "other").c_str(), 0755);
    for (const char* name : {"old.txt", "full.txt", "other/t.txt"}) {
        std::ofstream(dir / name) << "old";
        chmod((dir / name).c_str(), 0604);
    }
    mkdir((dir / "sub").c_str(), 0755);
    mkdir((dir / "ro").c_str(), 0555);
    mkfifo((dir / "fifo").c_str(), 0644);
    symlink("other/t.txt", (dir / "link.txt").c_str());
    symlink("other/none.txt", (dir / "dangling.txt").c_str());
    struct Case {
        const char* name;
        std::string target;
        IO::File::OnNotFound onNotFound;
        GSErrCode status, open, write = NoError;
        bool close = true;  // close the write (else the file object is dropped)
        std::string after;  // what is at the target afterwards
        UInt64 limit = 0;   // the largest file the disk takes
    } cases[] = {
        {"replace", dir / "old.txt", IO::File::Fail, NoError, NoError, NoError, true, "0604 new"},
        {"abandoned", dir / "old.txt", IO::File::Fail, NoError, NoError, NoError, false, "0604 new"},
        {"create", dir / "fresh.txt", IO::File::Create, NoError, NoError, NoError, true, "0640 new"},
        {"missing with Fail", dir / "none.txt", IO::File::Fail, IO::FileNotFound, IO::FileNotFound, NoError, true, "none"},
        {"abandoned create", dir / "gone.txt", IO::File::Create, NoError, NoError, NoError, false, "none"},
        {"a folder", dir / "sub", IO::File::Create, IO::AccessDenied, IO::AccessDenied, NoError, true, "folder"},
        {"no such folder", dir / "nowhere/x.txt", IO::File::Create, IO::FileNotFound, IO::FileNotFound, NoError, true, "none"},
        {"a link: its file is replaced", dir / "link.txt", IO::File::Fail, NoError, NoError, NoError, true, "link 0604 new"},
        {"a link to nothing", dir / "dangling.txt", IO::File::Create, NoError, IO::AccessDenied, NoError, true, "link to nothing"},
        {"a FIFO is never opened", dir / "fifo", IO::File::Create, NoError, IO::AccessDenied, NoError, true, "fifo"},
        {"a read-only folder", dir / "ro/x.txt", IO::File::Create, NoError, IO::AccessDenied, NoError, true, "none"},
        {"a full disk", dir / "full.txt", IO::File::Fail, NoError, NoError, IO::IOError, true, "0604 old", 2},
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
    EXPECT_EQ(left, (std::set<std::string>{"dangling.txt", "fifo", "fresh.txt", "full.txt", "link.txt", "old.txt",
                                           "other", "other/t.txt", "ro", "sub"}));  // no temporary left behind

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

    const std::pair<std::string, bool> exists[] = {
        {dir / "old.txt", true}, {dir / "sub", true}, {dir / "zz", false}, {"", false}};
    for (const auto& [p, e] : exists)
        EXPECT_EQ(IO::fileSystem.Contains(IO::Location(GS::UniString(p))), e) << p;
    EXPECT_EQ(IO::Location(GS::UniString("/a/b/c.sql")).GetLastLocalName().ToUtf8(), "c.sql");
    GS::UniString path;
    EXPECT_EQ(IO::Location().ToPath(&path), IO::BadLocation);
}

TEST(FileTypes, SearchAndAddInTheRootGroup)
{
    FTM::FileTypeManager a("DGTestTypes"), b("DGTestTypes"), other("DGOtherTypes");
    FTM::FileType sql("SQL Dump", "sql");
    EXPECT_EQ(a.GetRootGroup(), b.GetRootGroup());
    EXPECT_NE(a.GetRootGroup(), other.GetRootGroup());
    EXPECT_EQ(a.SearchForType(sql, a.GetRootGroup()), FTM::UnknownType);
    FTM::TypeID id = a.AddType(sql, a.GetRootGroup());
    EXPECT_NE(id, FTM::UnknownType);
    EXPECT_EQ(b.SearchForType(FTM::FileType("Other text", "SQL"), b.GetRootGroup()), id);
    EXPECT_EQ(other.SearchForType(sql, other.GetRootGroup()), FTM::UnknownType);
    FTM::TypeID xlsx = other.AddType(FTM::FileType("Excel Workbook", "xlsx"), other.GetRootGroup());
    EXPECT_NE(xlsx, id);
    GS::UniString d, e;
    EXPECT_TRUE(FTM::FileTypeManager::GetType(xlsx, &d, &e));
    EXPECT_EQ(d.ToUtf8() + "/" + e.ToUtf8(), "Excel Workbook/xlsx");
    EXPECT_FALSE(FTM::FileTypeManager::GetType(-4, &d, &e));
}

TEST(FileDialogs, ChooseOrCancelAndLog)
{
    TempDir dir;
    std::ofstream(dir / "in.sql") << "x";
    FTM::FileTypeManager m("DGDialogTypes");
    FTM::TypeID sql = m.AddType(FTM::FileType("SQL Dump", "sql"), m.GetRootGroup());
    struct Case {
        DG::FileDialog::Type type;
        std::vector<std::string> choices;  // "" cancels; the first ones may be refused
        std::vector<bool> accepted;
        bool result;
        std::string line;
    } cases[] = {
        {DG::FileDialog::OpenFile, {dir / "no.sql", dir / "in.sql"}, {false, true}, true,
         "file dialog open \"Pick\" [SQL Dump (*.sql)] -> \"" + dir / "in.sql" + "\""},
        {DG::FileDialog::Save, {dir / "none/out.sql", dir.path, dir / "out.sql"}, {false, false, true}, true,
         "file dialog save \"Pick\" [SQL Dump (*.sql)] -> \"" + dir / "out.sql" + "\""},
        {DG::FileDialog::OpenFile, {""}, {true}, false, "file dialog open \"Pick\" [SQL Dump (*.sql)] -> cancelled"},
        {DG::FileDialog::OpenFile, {}, {}, false, "file dialog open \"Pick\" [SQL Dump (*.sql)] -> cancelled"},
    };
    for (const auto& c : cases) {
        DGTest::ScriptedPump pump;
        for (std::size_t i = 0; i < c.choices.size(); ++i)
            pump.actions.push_back([&, i] {
                EXPECT_TRUE(DG::User::FileDialogOpen());
                std::string err;
                bool ok =
                    c.choices[i].empty() ? DG::User::CancelFileDialog(&err) : DG::User::ChooseFile(c.choices[i], &err);
                EXPECT_EQ(ok, c.accepted[i]) << c.choices[i] << err;
            });
        DG::User::ResetLogs();
        DG::FileDialog dlg(c.type);
        dlg.SetTitle("Pick");
        dlg.AddFilter(sql);
        EXPECT_EQ(dlg.Invoke(), c.result);
        EXPECT_EQ(dlg.GetSelectedFile().ToDisplayText().ToUtf8(), c.result ? c.choices.back() : "");
        ASSERT_EQ(DG::User::FileDialogLog().size(), 1u);
        EXPECT_EQ(DG::User::FileDialogLog()[0].ToString(), c.line);
        EXPECT_EQ(DG::User::AbandonedModals(), c.choices.empty() ? 1 : 0);
    }
}

TEST(GraphixRecording, EveryOperationHasOneStableLine)
{
    Graphix::CellDrawing d;
    d.startBack = Gfx::Color(51, 102, 204);
    d.startFore = Gfx::Color(255, 255, 255);
    Graphix::NativeContext ctx(&d);
    ctx.FillRect(0, 0, 30, 36, Gfx::Color(245, 245, 245));
    Graphix::Font bold;
    bold.style = 1;
    bold.size = 10.5;
    ctx.DrawPlainText("A01", 2, 2, 26, 32, 0);
    ctx.SetFont(bold);
    ctx.SetForeColor(Gfx::Color(0, 0, 0, 128));
    ctx.DrawPlainText("Total \"x\"", 0, 0, 100, 18, 1);
    ctx.DrawLine(0, 35, 30, 35, Gfx::Color(210, 210, 210));
    ctx.FrameRect(1, 1, 9, 9);
    Graphix::LinearGradientFillEffect linear(Gfx::Color(60, 180, 60), Gfx::Color(60, 180, 60), {15, 12}, {15, 18});
    Graphix::RadialGradientFillEffect radial(Gfx::Color(255, 0, 0), Gfx::Color(0, 0, 255), {15, 18}, 0, 4.5);
    const UInt8 bits[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    auto square = [&](const Graphix::FillEffect* effect) {
        ctx.BeginPolygon();
        ctx.MoveTo(12, 15);
        ctx.LineTo(18, 15);
        ctx.LineTo(18, 21);
        ctx.LineTo(12, 21);
        ctx.EndPolygon(effect);
    };
    square(&linear);
    square(&radial);
    square(nullptr);
    ctx.SetFillPattern(bits);
    square(nullptr);
    ctx.DrawImage(32550, 0, 0, 16, 16);
    const char* expected[] = {
        "fill 0,0-30,36 #F5F5F5FF",
        "text 2,2 26x32 \"A01\" Arial 12 plain align 0 #FFFFFFFF",
        "text 0,0 100x18 \"Total \\\"x\\\"\" Arial 10.5 bold align 1 #00000080",
        "line 0,35-30,35 #D2D2D2FF",
        "frame 1,1-9,9 #00000080",
        "polygon 12,15 18,15 18,21 12,21 linear #3CB43CFF->#3CB43CFF 15,12->15,18",
        "polygon 12,15 18,15 18,21 12,21 radial #FF0000FF->#0000FFFF 15,18 r 0-4.5",
        "polygon 12,15 18,15 18,21 12,21 solid #00000080",
        "polygon 12,15 18,15 18,21 12,21 pattern AA55AA55AA55AA55 #00000080/#3366CCFF",
        "image 32550 0,0-16,16",
    };
    ASSERT_EQ(d.ops.size(), std::size(expected));
    for (std::size_t i = 0; i < d.ops.size(); ++i)
        EXPECT_EQ(d.ops[i].ToString(), expected[i]);
}

}  // namespace
