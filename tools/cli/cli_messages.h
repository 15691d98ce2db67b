#pragma once

#include <iostream>
#include <string>

#include "core/progress.h"

namespace zt::cli {

// Messages printed on standard error as the application's message window shows them: a
// server message after "Сервер сообщает:". Questions are answered with `answer`.
class PrintingUi final : public UserInterface {
public:
    explicit PrintingUi(bool answer = false) : m_answer(answer) {}
    bool show_msg(int kind, const std::string& text) override {
        std::string shown = text;
        for (auto at = shown.find("\r\n"); at != std::string::npos; at = shown.find("\r\n", at))
            shown.erase(at, 1);
        if (kind == 4) shown = "Сервер сообщает:\n" + shown;
        std::cerr << shown << '\n';
        if (kind == 2 || kind == 4) errors = true;
        return kind == 3 ? m_answer : true;
    }
    bool errors = false;

private:
    bool m_answer;
};

}  // namespace zt::cli
