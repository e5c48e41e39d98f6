// Placeholder translation unit so an area without sources still forms a library.
