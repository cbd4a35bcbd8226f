#include "saved_log.h"

#include "output_file.h"

namespace webquill {

bool WriteSavedLog(const std::string& path, const std::vector<std::string>& lines) {
    COutputFile file;
    if (!file.Open(path)) return false;
    for (const std::string& line : lines) {
        file.Write(line);
        file.Write("\r\n");
    }
    return file.Close();
}

}  // namespace webquill
