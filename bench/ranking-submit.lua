-- wrk: POSTs replay files, each thread its own share of the list given
-- after "--" (the list, then how many threads), and counts the games stored (201) and anything else but a
-- duplicate (200).
local threads = {}

function setup(thread)
  thread:set("share", #threads)
  table.insert(threads, thread)
end

function init(args)
  bodies = {}
  local count = 0
  for path in io.lines(args[1]) do
    if count % tonumber(args[2]) == share then
      local file = io.open(path, "rb")
      table.insert(bodies, file:read("*a"))
      file:close()
    end
    count = count + 1
  end
  next_body = 0
  created = 0
  refused = 0
  wrk.headers["Content-Type"] = "application/x-pellmora-replay"
end

function request()
  next_body = next_body % #bodies + 1
  return wrk.format("POST", nil, nil, bodies[next_body])
end

function response(status, headers, body)
  if status == 201 then
    created = created + 1
  elseif status ~= 200 then
    refused = refused + 1
  end
end

function done(summary, latency, requests)
  local created, refused = 0, 0
  for _, thread in ipairs(threads) do
    created = created + thread:get("created")
    refused = refused + thread:get("refused")
  end
  io.write(string.format("created %d\nrefused %d\n", created, refused))
end
