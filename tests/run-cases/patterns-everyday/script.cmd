matchre coins /(\d{2})+ coins/
matchre sign /([+-]\d)+/
matchwait
coins:
echo coins
waitforre /([+-]\d)+/i
waitforre ^.*\s+.*\s+.*\s+.*\s+.*whispers$
action echo caught when /^(\w+\s?)+ nods\.$/
waitfor stands up
