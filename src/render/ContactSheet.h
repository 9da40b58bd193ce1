#pragma once
// The contact sheet: one PNG with every image of the bank enlarged, each labelled with its bank
// index, for reviewing the art at a glance.

#include <string>

// Writes the sheet to `path`. False, with a one-line reason in `error`, when it cannot be written.
bool writeContactSheet(const std::string& path, std::string& error);
