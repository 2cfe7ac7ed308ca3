#include "calendar/sample_calendar.h"

#include <iterator>

#include "calendar/calendar_text.h"

namespace orvalen {
namespace {

constexpr const char* kColorNames[16] = {"black",  "maroon", "green", "olive",  "navy", "purple",  "teal", "grey",
                                         "silver", "red",    "lime",  "yellow", "blue", "fuchsia", "aqua", "white"};

constexpr const char* kJournalPool[] = {
    "Quiet morning, coffee on the balcony.",
    "Sorted the pictures from the autumn walk.",
    "Rain all afternoon; the garden needed it.",
    "Finished the book about lighthouses.",
    "Bread from the new bakery on the corner.",
    "Long call about the plans for the holidays.",
    "Planted the last tulip bulbs.",
    "First frost on the car windows.",
    "Tried the pumpkin soup from the market.",
    "Evening concert in the old church.",
    "Repaired the kitchen drawer at last.",
    "Bought a frame for the harbour photograph.",
    "Snow on the hills, clear sky in town.",
    "Wrote the cards for the neighbours.",
    "Walked to the lake and back, 9 km.",
    "Choir rehearsal ran late.",
    "Printed the pictures for next year's wall calendar.",
    "Cleaned the camera lenses.",
    "The cat slept on the radiator all day.",
    "Packed the summer things into boxes for the attic.",
};

struct Appointment {
  int slot;
  const char* text;
};

constexpr Appointment kAppointmentPool[] = {
    {34, "Weekly team meeting"},
    {40, "Dentist check-up"},
    {49, "Lunch with the book club"},
    {58, "Call the plumber"},
    {70, "Piano lesson"},
    {77, "Swimming"},
    {37, "Library: return books"},
    {45, "Bike to the workshop"},
    {52, "Market"},
    {63, "Yoga class"},
    {74, "Choir rehearsal"},
    {31, "Train to the coast"},
    {67, "Parents' evening at school"},
    {55, "Post office: parcels"},
    {43, "Eye test"},
};

std::string StyleName(int flags) {
  if (flags == 0) return "Plain";
  std::string name;
  const char* parts[4] = {"bold", "italic", "underlined", "struck out"};
  for (int bit = 0; bit < 4; ++bit) {
    if (flags & (1 << bit)) {
      if (!name.empty()) name += ", ";
      name += parts[bit];
    }
  }
  name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name;
}

std::string HoursText(const std::vector<Appointment>& appointments) {
  std::string text;
  for (const Appointment& a : appointments) {
    text += std::to_string(a.slot) + ".0.0.0.0.0.0.0\r";
    text += a.text;
    text += '\r';
  }
  return text;
}

// Every style flag combination, line i in colour `colorOf(i)`.
template <typename ColorOf>
std::string SamplerJournal(const char* heading, ColorOf colorOf) {
  std::vector<JournalLine> lines;
  lines.push_back(JournalLine{kStyleBold, 0, heading});
  for (int flags = 0; flags < 16; ++flags) {
    const int color = colorOf(flags);
    lines.push_back(JournalLine{flags, color, StyleName(flags) + " in " + kColorNames[color]});
  }
  return BuildJournalText(lines);
}

}  // namespace

std::vector<SampleDay> SampleCalendarDays() {
  constexpr int kJournalCount = static_cast<int>(std::size(kJournalPool));
  constexpr int kAppointmentCount = static_cast<int>(std::size(kAppointmentPool));
  std::vector<SampleDay> days;
  const Date first{18, 11, 2019};  // a Monday
  const Date last{31, 12, 2019};
  int n = 0;
  for (Date date = first; date <= last; date = AddDays(date, 1), ++n) {
    if (n % 9 == 4) continue;  // some days without a record
    SampleDay day{date, {}};

    if (date == Date{2, 12, 2019}) {
      day.texts.journal = SamplerJournal("Every style, colour by style:", [](int flags) { return flags; });
    } else if (date == Date{3, 12, 2019}) {
      day.texts.journal = SamplerJournal("Every style, colours reversed:", [](int flags) { return 15 - flags; });
    } else if (date == Date{24, 12, 2019}) {
      day.texts.journal = BuildJournalText({{kStyleBold | kStyleUnderline, 9, "Christmas Eve"},
                                            {kStyleItalic, 2, "Candles in every window of the street."},
                                            {0, 0, "Carols at the square at six."}});
    } else if (date == Date{31, 12, 2019}) {
      day.texts.journal = BuildJournalText({{kStyleBold, 12, "Last day of the year"},
                                            {kStyleItalic, 5, "Looking back through a year of pictures."},
                                            {kStyleStrikeOut, 7, "Resolutions for next year"},
                                            {kStyleBold | kStyleItalic, 4, "Fireworks over the harbour."}});
    } else if (n % 11 != 2) {  // a few days hold appointments only
      std::vector<JournalLine> lines;
      const int count = 1 + n % 4;
      for (int k = 0; k < count; ++k) {
        lines.push_back(
            JournalLine{(n + 5 * k) % 16, (7 * n + 3 * k) % 16, kJournalPool[(3 * n + 7 * k) % kJournalCount]});
      }
      day.texts.journal = BuildJournalText(lines);
    }

    const int weekday = Weekday(date);
    if (weekday <= 5 && !(date.day >= 24 && date.month == 12 && date.day <= 26)) {
      std::vector<Appointment> appointments;
      const int count = 1 + (n % 3);
      for (int k = 0; k < count; ++k) appointments.push_back(kAppointmentPool[(2 * n + 5 * k) % kAppointmentCount]);
      // Keep the day's appointments in time order, as the organizer lists them.
      for (std::size_t i = 1; i < appointments.size(); ++i) {
        for (std::size_t j = i; j > 0 && appointments[j].slot < appointments[j - 1].slot; --j) {
          std::swap(appointments[j], appointments[j - 1]);
        }
      }
      day.texts.hours = HoursText(appointments);
    } else if (date == Date{31, 12, 2019}) {
      day.texts.hours = HoursText({{76, "Dinner at the harbour"}, {92, "Fireworks"}});
    }

    if (n % 5 == 1) day.texts.todo = "Buy stamps\rWater the plants\r";
    if (date == Date{20, 12, 2019}) day.texts.todo = "Wrap the presents\r";

    days.push_back(std::move(day));
  }
  return days;
}

CalendarResult MakeSampleCalendar(const std::string& calendarPath, const std::string& bufferPath) {
  CalendarWorkBuffer buffer(bufferPath);
  CalendarResult result = buffer.CreateNew(calendarPath);
  if (result != CalendarResult::kOk) return result;
  for (const SampleDay& day : SampleCalendarDays()) {
    result = buffer.AppendDay(day.date, day.texts);
    if (result != CalendarResult::kOk) return result;
  }
  return buffer.Save(calendarPath);
}

}  // namespace orvalen
