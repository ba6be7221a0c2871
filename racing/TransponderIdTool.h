#pragma once
// Reading and writing the ID of the transponder on the lap counter's reader.
// Opens the port first and shows on the link status whether the counter
// answered; what the pages do with the result is theirs.

#include "MainContext.h"

namespace kv {

class TransponderIdTool {
public:
    explicit TransponderIdTool(MainContext& main) : m_main(main) {}

    TransponderRead Read();
    // A rounded typed number; one the counter cannot hold is not sent.
    TransponderWrite Write(double id);

private:
    MainContext& m_main;
};

} // namespace kv
