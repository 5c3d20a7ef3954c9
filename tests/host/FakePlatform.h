// Recording stand-ins for the platform services the core calls.
#pragma once
#include <string>
#include <vector>

struct FakePlatformState {
    std::vector<std::string> messages;  // texts of the message boxes shown
    std::vector<void*> closedHandles;
};

FakePlatformState& Fake();
void ResetFake();
