#include "updater/UpdateServer.h"

#include <fstream>
#include <string>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/StringUtils.h"
#include "webupdate/WebUpdate.h"

void ConfigureUpdateServer(TWebUpdate& webUpdate) {
    std::ifstream in((ProgramFolder() + L"update-server.txt").c_str());
    std::string url, port;
    std::getline(in, url);
    std::getline(in, port);
    if (!url.empty() && url.back() == '\r') url.pop_back();
    webUpdate.ProductInfo()->SetURL(AnsiToString(url));
    webUpdate.SetHTTPPort(static_cast<Cardinal>(std::strtoul(port.c_str(), nullptr, 10)));
}
