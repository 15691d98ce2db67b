#include "server/pages.h"

namespace zt::server {

namespace {

Page html(const char* title, const char* text) {
    std::string body = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>";
    body += title;
    body += "</title></head>\n<body><h1>";
    body += title;
    body += "</h1>\n";
    body += text;
    body += "\n</body></html>\n";
    return {std::move(body), "text/html; charset=utf-8"};
}

}  // namespace

std::optional<Page> page_for(const std::string& path, const std::string& func) {
    if (path == "/test.htm") return Page{"TEST OK\n", "text/html"};
    if (path == "/" || path == "/index.htm" || path == "/index.html")
        return html("ЗОРВАН. Телепрограмма.",
                    "<p>Новости сервиса: телепрограмма обновляется ежедневно.</p>");
    if (path == "/cgi-bin/user.cgi")
        return html("Личный кабинет",
                    "<p>Баланс и настройки учётной записи выдаёт администратор сервера.</p>");
    if (path == "/docs/help.htm")
        return html("Справка",
                    "<p>Получение телепрограммы: меню «Телепрограмма», пункт «Ручное получение "
                    "телепрограммы».</p>");
    if (path == "/cgi-bin/page.cgi" && func == "vers")
        return html("История версий", "<p>2010113002 — текущая версия.</p>");
    return std::nullopt;
}

}  // namespace zt::server
