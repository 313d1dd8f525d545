#include "paths.h"

#include "error_text.h"
#include "stored_text.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace korvel {

namespace {

// std::filesystem's rule: '/' everywhere, and the preferred '\\' where the system has it. Bytes
// are looked at one by one, so a UTF-8 name is split exactly where its separators are.
bool IsSeparator(char c) {
    return c == '/' || c == static_cast<char>(std::filesystem::path::preferred_separator);
}

std::size_t FileNameStart(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsSeparator(path[i - 1])) {
            return i;
        }
    }
    return 0;
}

std::size_t ExtensionDot(const std::string& path) {
    const std::size_t start = FileNameStart(path);
    const std::size_t dot = path.rfind('.');
    return dot != std::string::npos && dot >= start ? dot : std::string::npos;
}

}  // namespace

std::string FileNameOf(const std::string& path) {
    return path.substr(FileNameStart(path));
}

std::string FolderPrefixOf(const std::string& path) {
    return path.substr(0, FileNameStart(path));
}

std::string FolderOf(const std::string& path) {
    std::string folder = FolderPrefixOf(path);
    if (!folder.empty() && EndsInSeparator(folder)) {
        folder.pop_back();
    }
    return folder;
}

bool EndsInSeparator(const std::string& path) {
    return !path.empty() && IsSeparator(path.back());
}

std::string AbsolutePathOf(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    const auto native = NativePathOf(path);
    if (!native) {
        return path;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(*native, error);
    const std::string text = error ? std::string() : Utf8Of(absolute);
    return text.empty() ? path : text;
}

Result<std::filesystem::path> NativePathOf(const std::string& path) {
    // On Windows the library converts to UTF-16 and throws on bytes that are not UTF-8; they
    // are refused here first, and anything else it throws stays here too. Elsewhere a name is
    // any bytes.
#if defined(_WIN32)
    if (!IsStrictUtf8(path)) {
        return Result<std::filesystem::path>::Failure("the name " + StoredTextToUtf8(path) +
                                                      " is not valid UTF-8");
    }
#endif
    try {
        return std::filesystem::path(std::u8string(path.begin(), path.end()));
    } catch (const std::exception& error) {
        return Result<std::filesystem::path>::Failure(error.what());
    }
}

std::string Utf8Of(const std::filesystem::path& path) {
    try {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    } catch (const std::exception&) {
        return {};
    }
}

Result<bool> PathIsTaken(const std::string& path) {
    const auto native = NativePathOf(path);
    if (!native) {
        return Result<bool>::Failure(native.reason());
    }
    std::error_code error;
    const auto type = std::filesystem::symlink_status(*native, error).type();
    // Only "no such file" means free: any other failure could hide a file.
    if (type == std::filesystem::file_type::none) {
        return Result<bool>::Failure("whether " + path +
                                     " is free cannot be told: " + ErrorText(error));
    }
    return type != std::filesystem::file_type::not_found;
}

Result<std::string> UnusedPath(const std::string& stem, const std::string& extension) {
    std::string path = stem + extension;
    for (int n = 2;; ++n) {
        const auto taken = PathIsTaken(path);
        if (!taken) {
            return Result<std::string>::Failure(taken.reason());
        }
        if (!*taken) {
            return path;
        }
        path = stem + " (" + std::to_string(n) + ")" + extension;
    }
}

namespace {

// Symbolic links deeper than this are a loop, as the system itself counts them.
constexpr int kMostLinks = 40;

}  // namespace

Result<std::string> FileBehindLinks(const std::string& path) {
    const auto native = NativePathOf(path);
    if (!native) {
        return Result<std::string>::Failure(path + " cannot be used: " + native.reason());
    }
    std::filesystem::path current = *native;
    for (int links = 0; links <= kMostLinks; ++links) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error))) {
            if (links > 0 && !std::filesystem::exists(current, error)) {
                return Result<std::string>::Failure(path + " is a link to " + Utf8Of(current) +
                                                    ", which does not exist");
            }
            return links == 0 ? path : Utf8Of(current);
        }
        const std::filesystem::path next = std::filesystem::read_symlink(current, error);
        if (error) {
            return Result<std::string>::Failure(
                path + " is a link that cannot be read: " + ErrorText(error));
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return Result<std::string>::Failure(path + " is a link in a loop of links");
}

std::string ExtensionOf(const std::string& path) {
    const std::size_t dot = ExtensionDot(path);
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string WithExtension(const std::string& path, const std::string& extension) {
    const std::size_t dot = ExtensionDot(path);
    return (dot == std::string::npos ? path : path.substr(0, dot)) + extension;
}

bool HasExtension(const std::string& path, const std::string& extension) {
    const std::string own = ExtensionOf(path);
    return std::equal(
        own.begin(), own.end(), extension.begin(), extension.end(),
        [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

Outcome MakeFolder(const std::string& folder) {
    if (folder.empty()) {
        return Outcome::Failure("there is no home folder to keep it in");
    }
    const auto native = NativePathOf(folder);
    if (!native) {
        return Outcome::Failure(native.reason());
    }
    std::error_code error;
    std::filesystem::create_directories(*native, error);
    return error ? Outcome::Failure(ErrorText(error)) : Outcome::Success();
}

std::string PathIn(const std::string& folder, const std::string& name) {
    return (folder.empty() || EndsInSeparator(folder) ? folder : folder + "/") + name;
}

}  // namespace korvel
