#pragma once
// libFuzzer's entry point, which each target defines and which both libFuzzer
// and the corpus replay call.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
