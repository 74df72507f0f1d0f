#include "comm/LinkSource.h"

#include <charconv>

#include "comm/TComm.h"

namespace norq::comm {

namespace {

bool ParseNumber(std::string_view text, int low, int high, int& value) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= low &&
           value <= high;
}

// "HOST:PORT" or "[V6HOST]:PORT"; the host may be empty when `hostOptional`.
bool ParseHostPort(std::string_view text, bool hostOptional, LinkSource& source,
                   std::string& error) {
    std::string_view host;
    std::string_view port;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':') {
            error = "expected [HOST]:PORT";
            return false;
        }
        host = text.substr(1, close - 1);
        port = text.substr(close + 2);
    } else {
        const std::size_t colon = text.rfind(':');
        if (colon == std::string_view::npos) {
            // "udp://10110" names the port alone.
            host = {};
            port = text;
        } else {
            host = text.substr(0, colon);
            port = text.substr(colon + 1);
        }
    }
    if (host.empty() && !hostOptional) {
        error = "the host is missing";
        return false;
    }
    if (!ParseNumber(port, 1, 65535, source.port)) {
        error = "the port must be a number from 1 to 65535";
        return false;
    }
    source.host = std::string(host);
    return true;
}

}  // namespace

bool IsLinkSource(std::string_view text) {
    return text.starts_with("tcp://") || text.starts_with("udp://") || text.starts_with("/dev/");
}

bool ParseLinkSource(std::string_view text, LinkSource& source, std::string& error) {
    source = {};
    if (text.starts_with("tcp://")) {
        source.kind = LinkSource::Kind::Tcp;
        return ParseHostPort(text.substr(6), false, source, error);
    }
    if (text.starts_with("udp://")) {
        source.kind = LinkSource::Kind::Udp;
        std::string_view rest = text.substr(6);
        if (const std::size_t query = rest.find('?'); query != std::string_view::npos) {
            const std::string_view option = rest.substr(query + 1);
            if (!option.starts_with("if=") || !IsInterfaceText(option.substr(3)) ||
                option.size() == 3) {
                error = "expected ?if=INTERFACE (a name such as eth0, or its IPv4 address)";
                return false;
            }
            source.interfaceName = std::string(option.substr(3));
            rest = rest.substr(0, query);
        }
        if (!ParseHostPort(rest, true, source, error)) return false;
        if (!source.interfaceName.empty() && !IsMulticastAddress(source.host)) {
            error = "an interface is given only with a multicast group (224.0.0.0-239.255.255.255)";
            return false;
        }
        return true;
    }
    if (text.starts_with("/dev/")) {
        source.kind = LinkSource::Kind::Serial;
        const std::size_t colon = text.rfind(':');
        source.device = std::string(text.substr(0, colon));
        if (colon != std::string_view::npos) {
            TBaudRate member{};
            if (!ParseNumber(text.substr(colon + 1), 1, 4000000, source.baud) ||
                !BaudRateFromValue(source.baud, member)) {
                error = "unknown rate; one of 110 ... 256000 bits per second";
                return false;
            }
        }
        return true;
    }
    error =
        "not a live source (tcp://HOST:PORT, udp://[HOST]:PORT, udp://GROUP:PORT[?if=INTERFACE] "
        "or /dev/...[:RATE])";
    return false;
}

UdpEndpoint UdpEndpointOf(const LinkSource& source) {
    UdpEndpoint endpoint;
    endpoint.port = source.port;
    if (IsMulticastAddress(source.host)) {
        endpoint.group = source.host;
        endpoint.interfaceName = source.interfaceName;
    } else {
        endpoint.address = source.host;
    }
    return endpoint;
}

}  // namespace norq::comm
