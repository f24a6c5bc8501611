#include "platform/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// The file that `path` names: the end of its links, or the path itself.
std::string Target(const std::string& path) {
    if (char* real = realpath(path.c_str(), nullptr)) {
        std::string resolved(real);
        std::free(real);
        return resolved;
    }
    // A link to a file not made yet: the file goes where the link points.
    char link[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), link, sizeof link - 1);
    if (n <= 0) return path;
    const std::string to(link, static_cast<size_t>(n));
    if (to.front() == '/') return to;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? to : path.substr(0, slash + 1) + to;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The old way: over the old text from its start, cut to the new length.
bool RewriteInPlace(const std::string& target, const std::string& text) {
    const int fd = open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, text);
    ok = ok && ftruncate(fd, static_cast<off_t>(text.size())) == 0;
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    return ok;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, const std::string& text) {
    const std::string target = Target(path);
    struct stat old {};
    const bool existed = stat(target.c_str(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode)) return false;

    // A name of its own: two games in one folder never share a temporary file.
    std::string temp = target + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return RewriteInPlace(target, text);

    mode_t mode = old.st_mode & 07777;
    if (!existed) {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = fchmod(fd, mode) == 0;
    ok = ok && WriteAll(fd, text);
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
}
