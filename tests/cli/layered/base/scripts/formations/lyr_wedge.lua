-- Layered sample formation of the base game
formation = { spacing = 30, }
