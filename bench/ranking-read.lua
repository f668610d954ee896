-- wrk: ranking reads at a steady rate rather than as fast as they go: each
-- of the connections waits between its requests, so that all of them
-- together ask about args[1] times a second.
function init(args)
  pause_ms = 1000 * tonumber(args[2]) / tonumber(args[1])
end

function delay()
  return pause_ms
end
