#include "core/upload/upload_paths.h"

namespace webquill {

namespace {
bool IsSeparator(char c) { return c == '/' || c == '\\'; }
}  // namespace

bool UploadFileNameOf(const std::string& path, std::string& name) {
    std::size_t at = path.rfind('\\');
    if (at == std::string::npos) at = path.rfind('/');
    if (at == std::string::npos) return false;
    name = path.substr(at + 1);
    return true;
}

std::string ServerDirectoryForm(const std::string& path) {
    std::string form = !path.empty() && IsSeparator(path.front()) ? path.substr(1) : path;
    if (form.empty()) return form;
    if (form.back() == '\\') form.back() = '/';
    else if (form.back() != '/') form += '/';
    return form;
}

std::string RelativeServerPath(const std::string& base, const std::string& path) {
    const std::size_t at = path.find(base);
    std::string rest = path;
    if (at != std::string::npos) {
        rest = path.substr(at + base.size());
        if (!rest.empty() && IsSeparator(rest.front())) rest.erase(0, 1);
    }
    if (!rest.empty() && IsSeparator(rest.back())) rest.pop_back();
    return rest;
}

}  // namespace webquill
