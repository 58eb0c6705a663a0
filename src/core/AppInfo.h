#pragma once

#include <QString>

namespace orvella::core {

// Fixed facts about the product that several windows and reports quote.
inline constexpr const char *kProductName = "Orvella";
inline constexpr const char *kProjectLabel = "Orvella2021/08/31";
inline constexpr const char *kSupportEmail = "support@velmora.example";
inline constexpr const char *kSupportPage = "https://velmora.example/orvella/support";
inline constexpr const char *kSuffixSourcePage = "https://velmora.example/orvella/suffixes";
inline constexpr const char *kSettingsApplication = "Velmora";
inline constexpr const char *kSettingsSection = "Orvella";

// The title of every message box and input box that names no title of its own:
// the product name cut at its last blank, then a word at a time while it is longer
// than 40 characters. A name without any blank stays whole.
QString applicationTitle(const QString &productName = QString::fromLatin1(kProductName));

} // namespace orvella::core
