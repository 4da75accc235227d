#pragma once
// Resources compiled into the program (icon, picture, form description, agreement
// text), found by name with a leading colon and without regard to case (":vork2").

#include <cstddef>
#include <string_view>

namespace kaldorin {

// The bytes of a resource. Throws Laufzeitfehler when there is none of that name.
std::string_view Resource(std::string_view name);

// Whether a resource of that name exists.
bool ResourceExists(std::string_view name);

// Registers a resource at start-up; one static instance per embedded file.
struct ResourceRegistration {
    ResourceRegistration(std::string_view name, const unsigned char* data, std::size_t size);
};

}  // namespace kaldorin
