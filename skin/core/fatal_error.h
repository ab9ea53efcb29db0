// The one fatal error of the engine: a slot or list position outside its
// list. Everything else fails quietly; this ends the program, because it
// means a property and the registry disagree and any further step would read
// or write the wrong record.
#pragma once

namespace velkaro::skin {

[[noreturn]] void fatalPositionError(const char* list, int position, int count);

} // namespace velkaro::skin
