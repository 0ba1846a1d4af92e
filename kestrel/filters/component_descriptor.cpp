#include "component_descriptor.h"

#include <cstdlib>

std::string DescriptorValue(const std::string& text, const std::string& key)
{
    size_t at = text.find(key + "=");
    if (at == std::string::npos)
        return "";
    at += key.size() + 1;
    size_t end = text.find('\r', at);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

bool ComponentVersionAccepted(const std::string& value, double& version)
{
    double whole = 0, scale = 1;
    bool digits = false, point = false;
    for (char c : value) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            if (point) {
                scale /= 10;
                whole += (c - '0') * scale;
            } else {
                whole = whole * 10 + (c - '0');
            }
        } else {
            return false;
        }
    }
    if (!digits || whole < 2)
        return false;
    version = whole;
    return true;
}

ComponentHelp ParseComponentHelp(const std::string& value)
{
    size_t comma = value.find(',');
    if (comma == std::string::npos)
        return {value, 100, true};
    return {value.substr(0, comma), std::atoi(value.c_str() + comma + 1), false};
}
