#pragma once
namespace orvalen {
bool IsLeapYear(int year);
}
