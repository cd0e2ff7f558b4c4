#include "link/Connection.h"
#include "link/PortAccess.h"

namespace tavisto {

std::string MissingPortText(const std::string& shownName, std::uint16_t langId) {
    if (langId == kLangChinese)
        return shownName + " 不存在：请检查端口名称和连接线（tavisto-cli ports 列出现有端口）。";
    return shownName + " does not exist: check the port name and the cable (tavisto-cli ports " +
           "lists the ports there are).";
}

} // namespace tavisto
