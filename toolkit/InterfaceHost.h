#pragma once
// A host for work run on a worker thread: every call is carried out by
// another host on the interface thread, where the desktop's boxes, panels
// and clipboard live, and the worker waits for its answer.

#include "toolkit/Host.h"

#include <QCoreApplication>
#include <QThread>

#include <type_traits>

namespace th::toolkit {

class InterfaceHost final : public Host {
public:
    explicit InterfaceHost(Host& host) : host_(host) {}

    void message(const std::string& title, const std::string& text) override
    {
        onInterface([&] { host_.message(title, text); });
    }
    bool ask(const std::string& title, const std::string& text) override
    {
        return onInterface([&] { return host_.ask(title, text); });
    }
    std::string savePanel(const std::string& title, const std::string& proposedName,
                          const std::string& pattern) override
    {
        return onInterface([&] { return host_.savePanel(title, proposedName, pattern); });
    }
    std::string openPanel(const std::string& title, const std::string& pattern) override
    {
        return onInterface([&] { return host_.openPanel(title, pattern); });
    }
    std::string chooseFolder(const std::string& title, const std::string& start) override
    {
        return onInterface([&] { return host_.chooseFolder(title, start); });
    }
    void setClipboardText(const std::string& text) override
    {
        onInterface([&] { host_.setClipboardText(text); });
    }
    void showFile(const std::string& path) override
    {
        onInterface([&] { host_.showFile(path); });
    }
    std::string homeFolder() override
    {
        return onInterface([&] { return host_.homeFolder(); });
    }
    int hostVersion() override
    {
        return onInterface([&] { return host_.hostVersion(); });
    }

private:
    template <typename Call>
    std::invoke_result_t<Call> onInterface(Call call)
    {
        QCoreApplication* application = QCoreApplication::instance();
        if (QThread::currentThread() == application->thread())
            return call();
        if constexpr (std::is_void_v<std::invoke_result_t<Call>>) {
            QMetaObject::invokeMethod(application, call, Qt::BlockingQueuedConnection);
        } else {
            std::invoke_result_t<Call> answer{};
            QMetaObject::invokeMethod(application, [&] { answer = call(); }, Qt::BlockingQueuedConnection);
            return answer;
        }
    }

    Host& host_;
};

} // namespace th::toolkit
