-- Tarvisk sample data: flight manoeuvres offered as mirror manoeuvres.
-- Two repeat built-in names in another letter case; the others are new.
Maneuvers = {
    { name = "TvkCorkscrew", duration = 2.5, },
    { name = "barrelroll", duration = 1.5, },
    { name = "TvkSideSlipLeft", duration = 1, },
    { name = "TvkSideSlipRight", duration = 1, },
    { name = "LOOP", duration = 3, },
}
