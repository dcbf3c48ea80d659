// The maker's web site: the base of the web page links, the help pages on the
// web and the update check.
#pragma once

inline constexpr char kWebSiteHost[] = "www.marrowen.com";
inline constexpr char kWebSiteAddress[] = "http://www.marrowen.com/";
