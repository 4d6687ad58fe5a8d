#pragma once
// The router's two XML documents, read with the platform's XML reader (XmlLite), which
// refuses a DTD and so every entity of one: no document of a neighbour's can make us
// expand or fetch anything. Nothing here is read by searching the text.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct RouterService {
    std::string type;       // serviceType
    std::string controlUrl; // as written
};

// The services of a device description, in document order, whatever devices they belong
// to; nothing when it is not well-formed XML, holds a DTD, or nests deeper than a
// description does.
std::optional<std::vector<RouterService>> ServicesIn(std::string_view description);

// The NewExternalIPAddress of a GetExternalIPAddressResponse in a SOAP answer, white space
// dropped (empty when the router reports none); nothing for a fault or any other document.
std::optional<std::wstring> ExternalAddressIn(std::string_view soapAnswer);
