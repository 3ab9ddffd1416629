#pragma once
// Opening a web page in the desktop's default browser, without writing any file.
#include <string>

namespace bx {

enum class BrowserResult { Opened, NoBrowser, CouldNotOpen };

class WebBrowser {
public:
    virtual ~WebBrowser() = default;
    virtual BrowserResult open(const std::string& url) = 0;
};

} // namespace bx
