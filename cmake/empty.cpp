// Intentionally empty: lets tessara_core exist before any portable source.
