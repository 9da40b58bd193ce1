#pragma once
// Reading what a world table answered, for every way of asking it (the desktop's client, the
// browser's fetch).

#include <cstddef>
#include <string>

#include "platform/WorldClient.h"

// The most bytes an answer to `what` can hold: a client takes no more.
size_t mostWorldAnswerBytes(EWorldAsk what);
constexpr const char* kTooLargeAnswer = "an answer larger than a world table gives";

// Fills `answer` from the status and body the server gave: the server's reason for a refusal,
// the replay, the entry a sent replay made, or the table's rows.
void readWorldAnswer(EWorldAsk what, int status, const std::string& body, SWorldAnswer& answer);
