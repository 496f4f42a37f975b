// A platform file outside the platform's three rooms.
