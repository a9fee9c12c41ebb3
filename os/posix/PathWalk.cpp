// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/posix/PathWalk.h"

#include <unistd.h>

#include <cerrno>
#include <deque>
#include <string_view>
#include <utility>

namespace vx40::posix {

namespace {

// The kernel's own limit on links followed in one path lookup.
constexpr int kMaxLinkHops = 40;

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The names of a path text in order, without empty ones and "."; mustBeFolder when the text
// ends in "/" or "/.", which only a folder can satisfy.
std::deque<std::string> Components(std::string_view text, bool& mustBeFolder) {
    mustBeFolder = text == "." || text.ends_with('/') || text.ends_with("/.");
    std::deque<std::string> names;
    while (!text.empty()) {
        const std::size_t slash = text.find('/');
        const std::string_view name = text.substr(0, slash);
        text = slash == std::string_view::npos ? std::string_view{} : text.substr(slash + 1);
        if (!name.empty() && name != ".") {
            names.emplace_back(name);
        }
    }
    return names;
}

// Everyone may make a file in such a folder, so anyone may have planted a name in it.
bool IsSharedStickyFolder(const struct stat& folder) {
    return (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
}

// The text of the link; none when it is gone or changed while it was read, so that the name is
// looked at again. error is set where the link could not be read for another reason.
std::optional<std::string> LinkText(const std::string& link, const struct stat& st, int& error) {
    std::string text(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t length = ::readlink(link.c_str(), text.data(), text.size());
    if (length < 0 || static_cast<std::size_t>(length) >= text.size()) {
        if (length < 0 && errno != ENOENT && errno != EINVAL) {
            error = errno;
        }
        return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// One walk: the names still to go, the folder reached so far and the links followed.
class PathWalk {
  public:
    explicit PathWalk(const std::string& path)
        : rest_(Components(path, target_.mustBeFolder)),
          folder_(!path.empty() && path.front() == '/' ? "/" : "") {}

    ResolvedTarget Walk() &&;

  private:
    void Step();
    void FollowLink(const std::string& name, const std::string& link, const struct stat& st,
                    const std::string& folderPath);
    void Stop(int error, const std::string& at);

    ResolvedTarget target_;
    std::deque<std::string> rest_;
    std::string folder_;
    int hops_ = 0;
};

ResolvedTarget PathWalk::Walk() && {
    while (!rest_.empty() && target_.error == 0) {
        Step();
    }
    if (target_.error != 0) {
        return std::move(target_);
    }
    if (target_.name.empty()) {
        // The path names a folder itself, such as "/" or ".".
        target_.path = folder_.empty() ? "." : folder_;
        target_.mustBeFolder = true;
        return std::move(target_);
    }
    if (::stat(target_.folder.c_str(), &target_.folderStatus) != 0) {
        target_.error = errno;
    }
    return std::move(target_);
}

void PathWalk::Step() {
    const std::string name = std::move(rest_.front());
    rest_.pop_front();
    const std::string candidate = Join(folder_, name);
    const std::string folderPath = folder_.empty() ? "." : folder_;
    struct stat st {};
    if (::lstat(candidate.c_str(), &st) != 0) {
        Stop(errno, candidate);
        if (target_.error == ENOENT && rest_.empty()) {
            // A new file; its folder is checked at the end of the walk.
            target_.error = 0;
            target_.folder = folderPath;
            target_.name = name;
        }
    } else if (S_ISLNK(st.st_mode)) {
        FollowLink(name, candidate, st, folderPath);
    } else if (!rest_.empty() && !S_ISDIR(st.st_mode)) {
        Stop(ENOTDIR, candidate);
    } else {
        folder_ = candidate;
        if (rest_.empty()) {
            target_.path = candidate;
            target_.status = st;
            target_.folder = folderPath;
            target_.name = name;
        }
    }
}

void PathWalk::FollowLink(const std::string& name, const std::string& link, const struct stat& st,
                          const std::string& folderPath) {
    struct stat folderStatus {};
    if (::stat(folderPath.c_str(), &folderStatus) != 0 || !IsTrustedIn(st, folderStatus)) {
        target_.linkNotFollowed = true;
        if (hops_ > 0 || !rest_.empty()) {
            target_.untrustedLink = link;
        }
        Stop(EACCES, link);
        return;
    }
    if (++hops_ > kMaxLinkHops) {
        Stop(ELOOP, link);
        return;
    }
    int error = 0;
    const std::optional<std::string> text = LinkText(link, st, error);
    if (error != 0 || (text.has_value() && text->empty())) {
        Stop(error != 0 ? error : ENOENT, link);
        return;
    }
    if (!text.has_value()) {
        rest_.push_front(name);
        return;
    }
    bool linkMustBeFolder = false;
    std::deque<std::string> linked = Components(*text, linkMustBeFolder);
    if (rest_.empty()) {
        target_.mustBeFolder = target_.mustBeFolder || linkMustBeFolder;
    }
    rest_.insert(rest_.begin(), linked.begin(), linked.end());
    if (text->front() == '/') {
        folder_ = "/";
    }
}

void PathWalk::Stop(int error, const std::string& at) {
    target_.error = error;
    target_.path = at;
    for (const std::string& name : rest_) {
        target_.path = Join(target_.path, name);
    }
}

}  // namespace

bool IsTrustedIn(const struct stat& entry, const struct stat& folder) {
    return entry.st_uid == ::geteuid() || !IsSharedStickyFolder(folder) ||
           entry.st_uid == folder.st_uid;
}

ResolvedTarget ResolveLinks(const std::string& path) {
    return PathWalk(path).Walk();
}

}  // namespace vx40::posix
