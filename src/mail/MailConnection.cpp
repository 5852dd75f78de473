#include "mail/MailConnection.h"

#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

bool parseSecurity(std::string_view text, MailSecurity& security) {
    const std::string name = lowerText(trimmedView(stripQuotes(text)));
    if (name.empty() || name == "none") {
        security = MailSecurity::None;
    } else if (name == "starttls" || name == "stls") {
        security = MailSecurity::StartTls;
    } else if (name == "tls" || name == "ssl") {
        security = MailSecurity::Tls;
    } else {
        return false;
    }
    return true;
}

std::string_view securityName(MailSecurity security) {
    switch (security) {
        case MailSecurity::StartTls:
            return "STARTTLS";
        case MailSecurity::Tls:
            return "TLS";
        case MailSecurity::None:
            break;
    }
    return "";
}

std::unique_ptr<LineChannel> openSocketChannel(const Endpoint& endpoint, IoResult& status) {
    auto channel = std::make_unique<SocketChannel>();
    status = channel->connect(endpoint);
    if (!status) return nullptr;
    return channel;
}

bool isLoopbackHost(std::string_view host) {
    const std::string name = lowerText(host);
    return name == "localhost" || name == "::1" || name.starts_with("127.");
}

bool mailEndpoint(std::string_view server, std::string_view port, int defaultPort,
                  Endpoint& endpoint, std::string& error) {
    if (!parseEndpoint(server, defaultPort, endpoint)) {
        error = "Not a server address: " + std::string(server);
        return false;
    }
    std::string_view portText = trimmedView(port);
    if (!portText.empty()) {
        auto number = readInteger(portText);
        if (!isAllDigits(portText) || !number || *number < 1 || *number > 65535) {
            error = "Not a port number: " + std::string(portText);
            return false;
        }
        endpoint.port = static_cast<int>(*number);
    }
    return true;
}

}  // namespace zel
