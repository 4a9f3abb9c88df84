#include "output/AsioDriverRegistry.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

namespace sonavel {

namespace {

// Registration files and /proc texts are tiny; anything bigger is not one of them.
constexpr std::uintmax_t kMaxTextFileSize = 64 * 1024;

std::optional<std::string> ReadSmallTextFile(const std::filesystem::path& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > kMaxTextFileSize) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

struct AlsaCard {
    int index = 0;
    std::string id;
    std::string name;
};

// /proc/asound/cards: " N [id             ]: driver - short name" followed by a long-name line.
std::vector<AlsaCard> ReadAlsaCards(const std::filesystem::path& procAsound)
{
    std::vector<AlsaCard> cards;
    const auto text = ReadSmallTextFile(procAsound / "cards");
    if (!text) {
        return cards;
    }
    std::istringstream lines(*text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::string_view view = Trim(line);
        AlsaCard card;
        const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), card.index);
        if (error != std::errc{} || card.index < 0) {
            continue;
        }
        const std::string_view rest(end, view.data() + view.size() - end);
        const auto open = rest.find('[');
        const auto close = rest.find(']');
        const auto dash = rest.find(" - ");
        if (open == std::string_view::npos || close == std::string_view::npos || close < open ||
            dash == std::string_view::npos || dash < close) {
            continue;
        }
        card.id = std::string(Trim(rest.substr(open + 1, close - open - 1)));
        card.name = std::string(Trim(rest.substr(dash + 3)));
        cards.push_back(std::move(card));
    }
    return cards;
}

bool HasPlaybackPcm(const std::filesystem::path& cardFolder)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(cardFolder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() > 4 && name.starts_with("pcm") && name.back() == 'p') {
            return true;
        }
    }
    return false;
}

// cardN/usbid holds "vvvv:pppp" for USB cards.
std::optional<uint32_t> UsbVendorOfCard(const std::filesystem::path& cardFolder)
{
    const auto text = ReadSmallTextFile(cardFolder / "usbid");
    if (!text) {
        return std::nullopt;
    }
    const std::string_view id = Trim(*text);
    uint32_t vendor = 0;
    const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), vendor, 16);
    if (error != std::errc{} || end == id.data() || end == id.data() + id.size() || *end != ':') {
        return std::nullopt;
    }
    return vendor;
}

void AppendAlsaCards(const OutputLocations& locations, std::vector<AsioDriverRegistration>& out)
{
    for (const auto& card : ReadAlsaCards(locations.procAsound)) {
        const auto cardFolder = locations.procAsound / ("card" + std::to_string(card.index));
        if (!HasPlaybackPcm(cardFolder)) {
            continue;
        }
        AsioDriverRegistration registration;
        registration.keyName = card.id;
        registration.clsid = "alsa-card-" + std::to_string(card.index);
        registration.description =
            UsbVendorOfCard(cardFolder) == kKestraneUsbVendor ? kKestraneDriverName : card.name;
        registration.serverPath = locations.devSnd / ("controlC" + std::to_string(card.index));
        registration.module = locations.programFolder / "Drivers" / kAlsaDriverModuleName;
        registration.device = "hw:" + std::to_string(card.index);
        out.push_back(std::move(registration));
    }
}

void AppendRegistrationFiles(const std::filesystem::path& folder, std::vector<AsioDriverRegistration>& out)
{
    if (folder.empty()) {
        return;
    }
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() == ".ini") {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        const auto text = ReadSmallTextFile(file);
        if (!text) {
            continue;
        }
        if (auto registration = ParseDriverRegistration(*text, file.stem().string(), folder)) {
            out.push_back(std::move(*registration));
        }
    }
}

} // namespace

std::optional<AsioDriverRegistration> ParseDriverRegistration(
    std::string_view text, std::string_view keyName, const std::filesystem::path& folder)
{
    std::map<std::string, std::string> values;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        const std::string_view line = Trim(text.substr(0, newline));
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#' || line.front() == '[') {
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        values.emplace(Lower(Trim(line.substr(0, equals))), std::string(Trim(line.substr(equals + 1))));
    }
    const auto clsid = values.find("clsid");
    const auto module = values.find("module");
    if (clsid == values.end() || clsid->second.empty() || module == values.end() || module->second.empty()) {
        return std::nullopt;
    }
    AsioDriverRegistration registration;
    registration.keyName = std::string(keyName);
    registration.clsid = clsid->second;
    registration.description = values["description"];
    registration.module = folder / module->second;
    registration.serverPath = registration.module;
    registration.device = values["device"];
    return registration;
}

std::vector<AsioDriverRegistration> EnumerateAsioDriverRegistrations(const OutputLocations& locations)
{
    std::vector<AsioDriverRegistration> registrations;
    AppendAlsaCards(locations, registrations);
    AppendRegistrationFiles(
        locations.programFolder.empty() ? std::filesystem::path{} : locations.programFolder / "Drivers",
        registrations);
    AppendRegistrationFiles(
        locations.configFolder.empty() ? std::filesystem::path{} : locations.configFolder / "Drivers",
        registrations);
    return registrations;
}

} // namespace sonavel
