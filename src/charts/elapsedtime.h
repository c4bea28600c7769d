#ifndef ELAPSEDTIME_H
#define ELAPSEDTIME_H

#include <QString>

// Elapsed time of a test as the user reads it: the seconds, truncated toward
// zero, are added to 00:00:00 and the clock is formatted with `format`
// ("hh:mm" or "hh:mm:ss"). The clock wraps at 24 hours and a negative number
// of seconds counts back from midnight. Any finite value is accepted (the day
// is taken off before the seconds are narrowed to an int); a value that is not
// finite reads as 00:00:00.
QString elapsedTime(double seconds, const QString &format);

// A length of time rather than a time of day, for axes that compare tests
// from a common moment: whole hours do not wrap at 24 ("72:00"), and a time
// before the moment has a minus sign ("-00:10"). "hh:mm", or "hh:mm:ss"
// with seconds.
QString elapsedDuration(double seconds, bool withSeconds);

#endif // ELAPSEDTIME_H
