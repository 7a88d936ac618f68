-- Stage 2: reload the saved session, report the plug-in's values as reloaded, bounce the
-- track with processing (the plug-in, not the fader's output stage) and write the result
-- as one stereo 32-bit float file.
-- Arguments: the job file, the folder of these scripts.

local job = dofile(arg[1])
local here = arg[2]
local wav = dofile(here .. "/wav.lua")
local common = dofile(here .. "/common.lua")

common.start_engine(job)
if load_session(job.session_dir, job.session_name) == nil or Session == nil then
  common.die("Ardour could not load the session in %s", job.session_dir)
end

-- Everything that holds a reference into the session lives in here, so that it can all be
-- let go before the session closes.
local function bounce()
  local track = common.find_track(job)
  local proc, insert = common.find_insert(track)
  if job.plugin and not proc then common.die("the plug-in is gone from the reloaded session") end
  if not job.plugin and proc then common.die("the session has a plug-in it should not have") end
  if proc and job.values_after then common.write_values(job.values_after, proc, insert, job) end
  -- The plug-in's state as the reload left it, saved as a snapshot of its own.
  if job.resave then Session:save_state(job.resave, false, false, false, false, false) end

  local frames = 0
  for region in track:playlist():region_list():iter() do
    local stop = (region:position() + region:length()):samples()
    if stop > frames then frames = stop end
end
if frames < 1 then common.die("the reloaded track holds no audio") end
local rate = Session:nominal_sample_rate()
-- Without a tail the bounce runs as long as a tail may ring out; it is cut afterwards.
local total = frames + (job.tail and math.floor(job.tail * rate + 0.5) or math.floor(common.max_ring_out * rate))

local bounced = track:bounce_range(0, total, ARDOUR.InterThreadInfo(), track:main_outs(), false, "")
if bounced:isnil() then common.die("Ardour's bounce failed") end
return common.source_paths(bounced), rate, total, frames
end

local paths, rate, total, frames = bounce()
collectgarbage()
close_session()

local channels = {}
for i, path in ipairs(paths) do
  local mono = wav.read(path)
  if mono.frames ~= total then common.die("%s holds %d frames, not %d", path, mono.frames, total) end
  channels[i] = mono.data[1]
end
local length = job.tail and total or common.ring_out_length(channels, frames, total, rate)
wav.write(job.output, rate, channels, length)
common.say(job, "rendered: %s, %d frames at %d Hz", job.output, length, rate)
