#pragma once

#include <string>
#include <string_view>

// Appends what an XML entity stands for ("amp", "lt", "#x3042", "#12354", without "&" and ";") as UTF-8;
// false for an unknown entity or a character XML does not allow.
bool appendEntity(std::string_view entity, std::string &out);
