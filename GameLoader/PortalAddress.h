#pragma once

#include "LaunchParams.h"

#include <string>

// The game's page on the platform's web portal: "https://<portal host>/client/index/<game id>".
std::wstring PortalBaseAddress();

// The page address with the launch parameters in its query, in the order fileparam (always),
// token, source, qvext, tokenLogin (each only when not empty). The page reads the values as they
// are held: nothing is percent-encoded.
std::wstring BuildPortalAddress(const std::wstring& fileParam, const LaunchParams& params);
