var what You miss
round:
match hit %what
match done You killed
matchwait
hit:
var what Roundtime
goto round
done:
echo done
