#include "WindowDesign.h"

#include <algorithm>

namespace pevrand
{

std::string ShownCaption(std::string_view caption)
{
    std::string shown(caption);
    if (const std::size_t at = shown.find('&'); at != std::string::npos)
        shown.erase(at, 1);
    return shown;
}

std::vector<std::string_view> TabStops(const WindowDesign &window)
{
    struct Stop {
        int Index;
        std::string_view Name;
    };
    std::vector<Stop> stops;
    for (const ControlDesign &control : window.Controls) {
        if (control.TabIndex < 0)
            continue;
        const std::string_view name = control.Frame.empty() ? control.Name : control.Frame;
        const auto same = std::find_if(stops.begin(), stops.end(),
                                       [name](const Stop &stop) { return stop.Name == name; });
        if (same == stops.end())
            stops.push_back({control.TabIndex, name});
        else
            same->Index = std::min(same->Index, control.TabIndex);
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [](const Stop &a, const Stop &b) { return a.Index < b.Index; });
    std::vector<std::string_view> names;
    for (const Stop &stop : stops)
        names.push_back(stop.Name);
    return names;
}

std::string_view NextTabStop(const WindowDesign &window, std::string_view stop, bool backward)
{
    const std::vector<std::string_view> stops = TabStops(window);
    if (stops.empty())
        return {};
    if (const ControlDesign *control = FindControl(window, stop);
        control && !control->Frame.empty())
        stop = control->Frame;
    const auto at = std::find(stops.begin(), stops.end(), stop);
    const int count = static_cast<int>(stops.size());
    if (at == stops.end())
        return backward ? stops.back() : stops.front();
    const int index = static_cast<int>(at - stops.begin());
    return stops[static_cast<std::size_t>(StepOption(index, count, backward ? -1 : 1))];
}

std::vector<const ControlDesign *> FrameOptions(const WindowDesign &window, std::string_view frame)
{
    std::vector<const ControlDesign *> options;
    for (const ControlDesign &control : window.Controls)
        if (control.Kind == ControlKind::Option && control.Frame == frame)
            options.push_back(&control);
    return options;
}

} // namespace pevrand
