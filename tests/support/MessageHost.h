#pragma once
// A window for the retrieval that keeps only the messages it shows, in order.

#include <filesystem>
#include <string>
#include <vector>

#include "retrieval/RetrievalSequence.h"

namespace skelmar::test {

class MessageHost final : public RetrievalHost {
public:
    void Warning(const std::string& text) override { messages.push_back("warning: " + text); }
    void Error(const std::string& text) override { messages.push_back("error: " + text); }
    void SetWaitCursor(bool) override {}
    void ShowPicture(const std::filesystem::path&) override {}
    void EnableTrackBar() override {}
    void SetForecastCaption(const std::string&) override {}
    void UpdateTimeLabels() override {}
    std::vector<std::string> messages;
};

}  // namespace skelmar::test
