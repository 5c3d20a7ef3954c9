// Recording stand-ins for the platform services the core calls.
#pragma once
#include <string>
#include <vector>

struct ShownMessage {
    std::string text;
    unsigned style;
};

struct FakePlatformState {
    std::vector<ShownMessage> messages;
    std::vector<void*> closedHandles;
    bool failReplace = false;
};

FakePlatformState& Fake();
void ResetFake();
