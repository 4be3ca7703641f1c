#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "IO/Location.hpp"

namespace IO {

FileSystem fileSystem;

GSErrCode Location::ToPath(GS::UniString* result) const
{
    if (path.IsEmpty())
        return BadLocation;
    if (result != nullptr)
        *result = path;
    return NoError;
}

GS::UniString Location::GetLastLocalName() const
{
    std::string p = path.ToUtf8();
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    std::string::size_type slash = p.rfind('/');
    return GS::UniString(slash == std::string::npos ? p : p.substr(slash + 1));
}

bool FileSystem::Contains(const Location& location) const
{
    struct stat st {};
    return !location.IsEmpty() && ::stat(location.ToDisplayText().ToUtf8().c_str(), &st) == 0;
}

void LimitFileSize(UInt64 bytes)
{
    // Past the limit a write then fails with EFBIG instead of the signal ending the process.
    std::signal(SIGXFSZ, bytes == 0 ? SIG_DFL : SIG_IGN);
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes == 0 ? limit.rlim_max : static_cast<rlim_t>(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

namespace {
GSErrCode FromErrno(int e)
{
    switch (e) {
        case ENOENT:
        case ENOTDIR: return FileNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return AccessDenied;
        default: return IOError;
    }
}
// Moves up to count bytes with read or write, again after an interruption; false on an error.
template <typename Buffer, typename Call>
bool Transfer(Call call, int fd, Buffer* buffer, USize count, USize* total)
{
    *total = 0;
    while (*total < count) {
        ssize_t n = call(fd, buffer + *total, count - *total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        *total += static_cast<USize>(n);
    }
    return true;
}

}  // namespace

struct File::Impl {
    std::string path;
    GSErrCode status = NoError;
    int fd = -1;
    bool writing = false;
    std::string target;    // the file a write replaces
    std::string tempPath;  // writes go here until Close puts the file in place
    bool failed = false;   // a write failed: Close leaves the target alone
};

File::File(const Location& location, OnNotFound onNotFound) : impl(new Impl)
{
    if (location.IsEmpty()) {
        impl->status = BadLocation;
        return;
    }
    impl->path = location.ToDisplayText().ToUtf8();
    struct stat st {};
    if (::stat(impl->path.c_str(), &st) != 0) {
        if (errno != ENOENT || onNotFound == Fail) {
            impl->status = FromErrno(errno);
        } else {
            // Created on the first write, so the folder must be there.
            std::string::size_type slash = impl->path.rfind('/');
            std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : impl->path.substr(0, slash);
            struct stat ds {};
            if (::stat(dir.c_str(), &ds) != 0 || !S_ISDIR(ds.st_mode))
                impl->status = FileNotFound;
        }
    } else if (S_ISDIR(st.st_mode)) {
        impl->status = AccessDenied;
    }
}

File::~File()
{
    if (impl->fd >= 0) {
        ::close(impl->fd);
        if (!impl->tempPath.empty())
            ::unlink(impl->tempPath.c_str());  // an abandoned write leaves the old file as it was
    }
    delete impl;
}

GSErrCode File::GetStatus() const { return impl->status; }
Location File::GetWriteLocation() const { return Location(GS::UniString(impl->tempPath)); }
bool File::IsOpen() const { return impl->fd >= 0; }

GSErrCode File::Open(OpenMode mode)
{
    if (impl->status != NoError)
        return impl->status;  // a missing file made with Fail stays missing
    if (impl->fd >= 0)
        return IOError;
    struct stat st {};
    if (mode == ReadMode) {
        if (::stat(impl->path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return AccessDenied;
        int fd = ::open(impl->path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return FromErrno(errno);
        impl->fd = fd;
        impl->writing = false;
        impl->status = NoError;
        return NoError;
    }
    // A write replaces the file a link names, never the link. Only a regular file is replaced, and
    // that is known from its type alone: a FIFO or a device is never opened.
    std::string target = impl->path;
    bool exists = ::lstat(target.c_str(), &st) == 0;
    if (exists && S_ISLNK(st.st_mode)) {
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(target.c_str(), nullptr), &std::free);
        if (real == nullptr || ::stat(real.get(), &st) != 0)
            return AccessDenied;  // a link to nothing, or a loop
        target = real.get();
    }
    if (exists && !S_ISREG(st.st_mode))
        return AccessDenied;
    // Write beside the target; Close renames over it.
    std::string temp = target + ".XXXXXX";
    int fd = ::mkstemp(&temp[0]);
    if (fd < 0)
        return FromErrno(errno);
    mode_t perms = 0666;
    if (exists) {
        perms = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        perms &= ~mask;
    }
    ::fchmod(fd, perms);
    auto abandon = [&](GSErrCode code) {
        ::close(fd);
        ::unlink(temp.c_str());
        return code;
    };
    if (mode == ReadWriteMode && exists) {
        int in = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
        if (in < 0)
            return abandon(FromErrno(errno));
        char buf[65536];
        USize got = 0, put = 0;
        bool ok = true;
        do
            ok = Transfer(::read, in, buf, sizeof buf, &got) && Transfer(::write, fd, buf, got, &put) && put == got;
        while (ok && got == sizeof buf);
        ::close(in);
        if (!ok)
            return abandon(IOError);
        ::lseek(fd, 0, SEEK_SET);
    }
    impl->fd = fd;
    impl->target = target;
    impl->tempPath = temp;
    impl->writing = true;
    impl->failed = false;
    impl->status = NoError;
    return NoError;
}

GSErrCode File::GetDataLength(UInt64* length) const
{
    if (impl->fd < 0)
        return NotOpen;
    struct stat st {};
    if (::fstat(impl->fd, &st) != 0)
        return IOError;
    if (length != nullptr)
        *length = static_cast<UInt64>(st.st_size);
    return NoError;
}

GSErrCode File::ReadBin(char* buffer, USize count, USize* read)
{
    if (read != nullptr)
        *read = 0;
    if (impl->fd < 0)
        return NotOpen;
    USize total = 0;
    if (!Transfer(::read, impl->fd, buffer, count, &total))
        return IOError;
    if (read != nullptr)
        *read = total;
    return total == count ? NoError : IOError;
}

GSErrCode File::WriteBin(const char* buffer, USize count, USize* written)
{
    if (written != nullptr)
        *written = 0;
    if (impl->fd < 0)
        return NotOpen;
    if (!impl->writing)
        return AccessDenied;
    USize total = 0;
    if (!Transfer(::write, impl->fd, buffer, count, &total) || total < count) {
        impl->failed = true;  // Close then leaves the target as it was
        return IOError;
    }
    if (written != nullptr)
        *written = total;
    return NoError;
}

GSErrCode File::Close()
{
    if (impl->fd < 0)
        return NotOpen;
    if (!impl->writing) {
        ::close(impl->fd);
        impl->fd = -1;
        return NoError;
    }
    bool ok = !impl->failed && ::fsync(impl->fd) == 0;
    ok = ::close(impl->fd) == 0 && ok;
    impl->fd = -1;
    if (ok && ::rename(impl->tempPath.c_str(), impl->target.c_str()) == 0) {
        impl->tempPath.clear();
        return NoError;
    }
    ::unlink(impl->tempPath.c_str());
    impl->tempPath.clear();
    return IOError;
}

}  // namespace IO
